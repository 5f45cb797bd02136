target_sources(core PRIVATE
    options/staffrules.cpp
    options/staffrules.h
)
target_sources(gui PRIVATE
    options/analysts.cpp
    options/analysts.h
    options/form1_staff.cpp
)
