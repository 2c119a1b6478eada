ordalis_add_bench(cards LIBS ordalis_cards)
