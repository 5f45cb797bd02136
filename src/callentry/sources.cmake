target_sources(gui PRIVATE
    callentry/form1_callpanel.cpp
)
