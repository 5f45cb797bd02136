# tests of inventory
qv_test(inventory_tests
    customers/inventorytitles_test.cpp
    customers/inventory_window_test.cpp
    customers/customer_inventory_test.cpp
)
