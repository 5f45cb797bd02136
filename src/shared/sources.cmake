# Shared procedures
target_sources(core PRIVATE
    shared/shared.h
    shared/shared.cpp
    shared/colours.h
    shared/colours.cpp
)
