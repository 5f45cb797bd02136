# files of inventory
target_sources(core PRIVATE
    customers/inventorytitles.cpp
    customers/inventorytitles.h
)
target_sources(gui PRIVATE
    customers/form1_inventory.cpp
)
