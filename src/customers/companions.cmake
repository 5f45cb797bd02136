# files of companions
target_sources(gui PRIVATE
    customers/form1_companions.cpp
)
