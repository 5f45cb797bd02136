# tests of appearance
qv_test(appearance_tests
    options/appearance_test.cpp
)
