target_sources(gui PRIVATE
    options/form1_staff.cpp
)
