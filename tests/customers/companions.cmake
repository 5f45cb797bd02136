# tests of companions: the information window, the audit and attachments windows, the archive look-ups
qv_test(companions_tests
    customers/about_test.cpp
    customers/callaudit_test.cpp
    customers/archivelookup_test.cpp
)
