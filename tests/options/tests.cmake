# qv_test(<name> <files>...)
qv_test(options_tests
    options/staffrules_test.cpp
    options/staffwindow_test.cpp
)
