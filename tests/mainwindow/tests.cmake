qv_test(mainwindow_tests mainwindow/mainwindow_test.cpp)
# Copies started at once: their own program, so that no window exists before the fork.
qv_test(firststart_tests mainwindow/firststart_test.cpp)
target_link_libraries(firststart_tests PRIVATE SQLite::SQLite3)
