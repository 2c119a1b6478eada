# The window's side of a field load: thousands of entries into the shared list
# model; and typing into one of those lists.
if(TARGET ordalis_app)
    find_package(Qt6 REQUIRED COMPONENTS Test)
    ordalis_add_bench(app_fieldlists LIBS ordalis_app Qt6::Test)
endif()
