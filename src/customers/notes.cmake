# files of the notes window
target_sources(gui PRIVATE
    customers/notes.h
    customers/notes.cpp
    customers/form1_notes.cpp
)
