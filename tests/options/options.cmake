# tests of options
qv_test(themes_tests
    options/statusrules_test.cpp
    options/statuses_test.cpp
    options/themes_test.cpp
)
