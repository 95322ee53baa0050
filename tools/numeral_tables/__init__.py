"""The numeral grammar and the LALR(1) tables made from it (see gen_numeral_tables.py)."""
