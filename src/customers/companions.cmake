# files of companions: the information window, the audit and attachments windows, the archive look-ups
target_sources(core PRIVATE
    reports/archivelookup.cpp
    reports/archivelookup.h
)
target_sources(gui PRIVATE
    customers/form1_companions.cpp
    customers/about.cpp
    customers/about.h
    customers/attachments.cpp
    customers/attachments.h
    customers/callaudit.cpp
    customers/callaudit.h
)
