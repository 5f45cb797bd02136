# files of options
target_sources(gui PRIVATE
    options/form1_options.cpp
)
