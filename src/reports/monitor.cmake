# files of monitor
target_sources(gui PRIVATE
    reports/form1_monitor.cpp
)
