# files of reports
target_sources(core PRIVATE
    reports/reportsource.h
    reports/reportsource.cpp
    reports/quicklists.h
    reports/quicklists.cpp
    reports/callreport.h
    reports/callreport.cpp
    reports/callsheet.h
    reports/callsheet.cpp
    reports/inventorytype.h
    reports/inventorytype.cpp
)
target_sources(gui PRIVATE
    reports/form1_reports.cpp
    reports/quickreports.h
    reports/quickreports.cpp
    reports/dialog.h
    reports/dialog.cpp
)
