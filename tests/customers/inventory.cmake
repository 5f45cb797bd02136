# tests of inventory
qv_test(inventory_tests
    customers/inventorytitles_test.cpp
)
