qv_test(schema_tests shared/schema_test.cpp)
