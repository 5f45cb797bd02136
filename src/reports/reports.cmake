# files of reports
target_sources(gui PRIVATE
    reports/form1_reports.cpp
)
