# files of appearance
target_sources(gui PRIVATE
    options/form1_appearance.cpp
    options/themes_appearance.cpp
)
