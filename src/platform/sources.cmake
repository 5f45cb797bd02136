target_sources(core PRIVATE
    platform/desktop.h
    platform/desktop.cpp
    platform/ini.h
    platform/ini.cpp
)
include(platform/db/sources.cmake)
include(platform/widgets/sources.cmake)
