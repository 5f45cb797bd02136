target_sources(gui PRIVATE
    mainwindow/entry.h
    mainwindow/entry.cpp
    mainwindow/form1.h
    mainwindow/form1.cpp
    mainwindow/form1_ui.cpp
    mainwindow/settingsdefaults.h
    mainwindow/statusbar.h
    mainwindow/statusbar.cpp
)
