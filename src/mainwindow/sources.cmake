target_sources(gui PRIVATE
    mainwindow/entry.h
    mainwindow/entry.cpp
)
