# qv_test(<name> <files>...)
qv_test(reports_tests
    reports/pagefile_test.cpp
    reports/reportframe_test.cpp
)
