target_sources(core PRIVATE
    shared/schema.h
    shared/schema.cpp
)
