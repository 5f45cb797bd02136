qv_test(calllist_tests calllists/calllist_test.cpp)
