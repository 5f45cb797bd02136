qv_test(db_tests
    platform/db_fixture.h
    platform/db_jetsql_test.cpp
    platform/db_recordset_test.cpp
    platform/db_fuzz_test.cpp
)
