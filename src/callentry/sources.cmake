target_sources(core PRIVATE
    callentry/callrules.h
    callentry/callrules.cpp
)
target_sources(gui PRIVATE
    callentry/callpanel.h
    callentry/form1_callpanel.cpp
    callentry/form1_callentry.cpp
    callentry/form1_callcustomers.cpp
)
