qv_test(schema_tests
    shared/schema_test.cpp
    shared/schema_before_nocase.h
)
target_link_libraries(schema_tests PRIVATE SQLite::SQLite3)
