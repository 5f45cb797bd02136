target_sources(gui PRIVATE
    customers/form1_notes.cpp
)
