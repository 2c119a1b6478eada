# The ACT! stand-in: contact writes and field-list reads through the boundary.
ordalis_add_bench(standin_setfield LIBS ordalis_act_boundary)
ordalis_add_bench(standin_fieldlist LIBS ordalis_act_boundary)
