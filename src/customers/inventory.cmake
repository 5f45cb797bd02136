# files of inventory
target_sources(core PRIVATE
    customers/inventoryrules.cpp
    customers/inventoryrules.h
    customers/inventorytitles.cpp
    customers/inventorytitles.h
)
target_sources(gui PRIVATE
    customers/form1_inventory.cpp
    customers/form2.cpp
    customers/form2.h
    customers/inventory.cpp
    customers/inventory.h
)
