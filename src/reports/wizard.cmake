# files of wizard
target_sources(gui PRIVATE
    reports/form1_wizard.cpp
)
