# Files of this subsystem: target_sources(core|gui PRIVATE ...)
