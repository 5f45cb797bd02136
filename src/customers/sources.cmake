target_sources(core PRIVATE
    customers/customerexport.cpp
    customers/customerexport.h
    customers/customersearch.cpp
    customers/customersearch.h
)
target_sources(gui PRIVATE
    customers/form1_customers.cpp
    customers/search.cpp
    customers/search.h
)
