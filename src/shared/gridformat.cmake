target_sources(gui PRIVATE
    shared/gridformat.h
    shared/gridformat.cpp
    shared/clsstyle.h
    shared/clsstyle.cpp
)
