# Widget stand-ins (gui): target_sources(gui PRIVATE ...)
