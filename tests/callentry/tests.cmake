qv_test(callentry_tests callentry/callpanel_test.cpp)
# Copies of the program killed while saving: its own program, so that no window exists before the fork.
qv_test(callsave_kill_tests callentry/callsave_kill_test.cpp)
target_link_libraries(callsave_kill_tests PRIVATE SQLite::SQLite3)
