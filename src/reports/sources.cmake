# Reports, printing and monitor pages
target_sources(core PRIVATE
    reports/pagefile.h
    reports/pagefile.cpp
    reports/reportframe.h
    reports/reportframe.cpp
    reports/callnotespage.h
    reports/callnotespage.cpp
)
