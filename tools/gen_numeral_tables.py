#!/usr/bin/env python3
"""Builds the LALR(1) tables of the numeral grammar.

Writes src/text/NumeralParserTables.inc, which src/text/NumeralParserEngine.h
includes. The tables are committed; run this script again after changing the
grammar (tools/numeral_tables/grammar.py), and commit both:

    python3 tools/gen_numeral_tables.py            # rewrite the tables
    python3 tools/gen_numeral_tables.py --check    # exit 1 if they are stale
    python3 tools/gen_numeral_tables.py --dump     # print the states

How the automaton is made, since the diagnostics depend on its states:
- The grammar reads characters. Each character falls into one character class
  (a terminal); a set of classes used in a production (digit, hex digit, ...)
  is a nonterminal with one production per class. Such sets and the
  optional-element helpers are anonymous: their names are empty.
- Keywords are terminals of their own, recognised only in the states that
  have an action for them.
- LALR(1): canonical LR(1) states merged by their cores. A shift/reduce
  conflict is resolved as a shift (there is exactly one, expected below:
  "0" followed by "." is read by `decimal integer part -> '0' DOT`).
- A state whose only action is one reduction (no shift) reduces without
  looking at the next token; every other state checks the token, and a token
  without an action is a syntax error there.
- White space is disregarded outside the literal: the literal is read as one
  lexeme, and in the states before and after it (the start state and the
  state that waits for the end of text) space and line-end characters are
  skipped without a change of state. Inside the literal they are only the
  look-ahead that ends it, so they are added wherever the end of text is a
  reduce look-ahead. Skipped characters are not counted as allowed terminals
  by the diagnosis.
"""


import argparse
import os
import sys

from numeral_tables.emit import dump, emit
from numeral_tables.grammar import check_grammar
from numeral_tables.lalr import build_actions, build_lalr

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "src", "text", "NumeralParserTables.inc")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="fail if the committed tables differ")
    parser.add_argument("--dump", action="store_true", help="print the states")
    parser.add_argument("--output", default=OUTPUT)
    args = parser.parse_args()
    check_grammar()
    items_of, transitions = build_lalr()
    states, skip_tokens = build_actions(items_of, transitions)
    if args.dump:
        dump(states)
        return 0
    text = emit(states, skip_tokens)
    if args.check:
        try:
            with open(args.output, encoding="utf-8") as f:
                current = f.read()
        except OSError:
            current = None
        if current != text:
            print("gen_numeral_tables: %s is stale; run tools/gen_numeral_tables.py" % args.output)
            return 1
        return 0
    with open(args.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(text)
    return 0


if __name__ == "__main__":
    sys.exit(main())
