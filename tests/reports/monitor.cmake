# tests of monitor
qv_test(monitor_tests
    reports/monitor_test.cpp
    reports/topfive_test.cpp
)
