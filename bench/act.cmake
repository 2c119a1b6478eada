# Field load and contact writing against the stand-in's real database.
ordalis_add_bench(act LIBS ordalis_act)
