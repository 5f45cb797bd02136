# qv_test(<name> <files>...)
qv_test(shared_tests
    shared/ini_test.cpp
    shared/ini_fuzz_test.cpp
    shared/shared_test.cpp
)
