# files of appearance
target_sources(core PRIVATE
    options/themepresets.cpp
    options/themepresets.h
)
target_sources(gui PRIVATE
    options/appearance.cpp
    options/appearance.h
    options/form1_appearance.cpp
    options/themes_appearance.cpp
)
