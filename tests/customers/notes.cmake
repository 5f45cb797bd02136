# tests of the notes window and the call-notes pages
qv_test(notes_tests
    customers/notes_window_test.cpp
)
