target_sources(gui PRIVATE
    customers/form1_customers.cpp
)
