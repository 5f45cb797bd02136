# tests of wizard
qv_test(wizard_tests
    reports/wizard_test.cpp
)
