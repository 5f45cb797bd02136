target_sources(core PRIVATE
    calllists/callviews.h
    calllists/callviews.cpp
)
target_sources(gui PRIVATE
    calllists/form1_calllist.cpp
    calllists/piechart.h
    calllists/piechart.cpp
)
