# files of wizard
target_sources(core PRIVATE
    reports/wizardquery.h
    reports/wizardquery.cpp
)
target_sources(gui PRIVATE
    reports/form1_wizard.cpp
    reports/form3.h
    reports/form3.cpp
    reports/windowactivation.h
    reports/windowactivation.cpp
)
