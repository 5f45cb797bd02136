# files of inventory
target_sources(gui PRIVATE
    customers/form1_inventory.cpp
)
