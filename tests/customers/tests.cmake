qv_test(customers_tests
    customers/customers_list_test.cpp
    customers/customers_search_test.cpp
)
