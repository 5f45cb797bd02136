# tests of reports
qv_test(quickreports_tests
    reports/reportfixture.h
    reports/reportfixture.cpp
    reports/wizardlists_test.cpp
    reports/dialog_test.cpp
    reports/quicklists_test.cpp
    reports/callreport_test.cpp
    reports/callsheet_test.cpp
)
