# files of options
target_sources(core PRIVATE
    options/optionrules.cpp
    options/optionrules.h
    options/statusrules.cpp
    options/statusrules.h
)
target_sources(gui PRIVATE
    options/form1_options.cpp
    options/statuses.cpp
    options/statuses.h
    options/themes.cpp
    options/themes.h
    options/themes_lists.cpp
    options/themes_program.cpp
)
