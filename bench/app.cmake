# The window's side of a field load: thousands of entries into the shared list model.
if(TARGET ordalis_app)
    ordalis_add_bench(app_fieldlists LIBS ordalis_app)
endif()
