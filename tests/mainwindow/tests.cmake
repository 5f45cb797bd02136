qv_test(mainwindow_tests mainwindow/mainwindow_test.cpp)
