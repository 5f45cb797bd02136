# files of monitor
target_sources(core PRIVATE
    reports/monitorpages.h
    reports/monitorpages.cpp
    reports/topfive.h
    reports/topfive.cpp
)
target_sources(gui PRIVATE
    reports/form1_monitor.cpp
    reports/form6.h
    reports/form6.cpp
    reports/frmabout.h
    reports/frmabout.cpp
)
