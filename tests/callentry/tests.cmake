qv_test(callentry_tests callentry/callpanel_test.cpp)
