#!/usr/bin/env python3
"""Builds the LALR(1) tables of the numeral grammar.

Writes src/text/NumeralParserTables.inc, which src/text/NumeralParserEngine.h
includes. The tables are committed; run this script again after changing the
grammar below, and commit both:

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
import collections
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
OUTPUT = os.path.join(ROOT, "src", "text", "NumeralParserTables.inc")

# ---------------------------------------------------------------------------
# Terminals: the character classes, then the keywords.
# (symbol, diagnostic name, characters)
CLASSES = [
    ("eof", "eof", [0]),
    ("space", "", [32, 9, 12]),
    ("lineend", "", [10, 13]),
    ("zero", "'0'", [ord("0")]),
    ("oct17", "", [ord(c) for c in "1234567"]),
    ("dig89", "", [ord(c) for c in "89"]),
    ("hexAC", "", [ord(c) for c in "ABCabc"]),
    ("letD", "", [ord(c) for c in "Dd"]),
    ("letE", "", [ord(c) for c in "Ee"]),
    ("letF", "", [ord(c) for c in "Ff"]),
    ("letL", "", [ord(c) for c in "Ll"]),
    ("lowx", "'x'", [ord("x")]),
    ("upX", "'X'", [ord("X")]),
    ("apos", "'\\''", [39]),
    ("bslash", "'\\\\'", [92]),
    ("plus", "PLUS", [ord("+")]),
    ("minus", "MINUS", [ord("-")]),
    ("dot", "DOT", [ord(".")]),
    ("other", "", None),  # everything else, codes 128 and up included
]

# (symbol, spelling, distinguished): a distinguished keyword is recognised only
# when the character after it is not an ASCII letter, digit or underscore.
KEYWORDS = [
    ("kwTrue", "true", True),
    ("kwFalse", "false", True),
    ("escB", "\\b", False),
    ("escF", "\\f", False),
    ("escN", "\\n", False),
    ("escR", "\\r", False),
    ("escT", "\\t", False),
    ("escBackslash", "\\\\", False),
    ("escQuote", "\\\"", False),
    ("escApos", "\\'", False),
    ("escLowU", "\\u", False),
    ("escUpU", "\\U", False),
]


def keyword_name(spelling):
    return '"' + spelling.replace("\\", "\\\\").replace('"', '\\"') + '"'


# Character-class sets used by the productions; each becomes an anonymous
# nonterminal with one production per class.
SETS = {
    "digit": ["zero", "oct17", "dig89"],
    "nonzero digit": ["oct17", "dig89"],
    "octal digit": ["zero", "oct17"],
    "hex letter": ["hexAC", "letD", "letE", "letF"],
    "hex digit": ["zero", "oct17", "dig89", "hexAC", "letD", "letE", "letF"],
    "x or X": ["lowx", "upX"],
    # Named: every character but the apostrophe, the backslash, the line ends
    # and the end of text.
    "not single quote": ["space", "zero", "oct17", "dig89", "hexAC", "letD", "letE", "letF",
                         "letL", "lowx", "upX", "plus", "minus", "dot", "other"],
}
NAMED_SETS = {"not single quote"}

# The disregarded symbol: its first characters are skipped outside the literal.
WHITE_SPACE = [
    ("white space", ["space"]),
    ("white space", ["end of line"]),
    ("end of line", ["lineend"]),
]

# ---------------------------------------------------------------------------
# Productions: (lhs, rhs, action, parameter). Nonterminal names are the
# diagnostic names; "?" names are anonymous optional elements.
P = []


def prod(lhs, rhs, action="Pass", param=0):
    P.append((lhs, rhs, action, param))


prod("numeral", ["literal", "eof"], "SetDataType")
prod("literal", ["integer literal"], "IntegerLiteral")
prod("literal", ["minus", "integer literal"], "MinusIntegerLiteral")
prod("literal", ["floating point literal"], "FloatLiteral")
prod("literal", ["minus", "floating point literal"], "MinusFloatLiteral")
prod("literal", ["boolean literal"], "BooleanLiteral")
prod("literal", ["character literal"], "CharacterLiteral")
prod("integer literal", ["simple integer literal"], "SetIntegerValue")
prod("integer literal", ["simple integer literal", "letL"], "SetIntegerValueSuffix")
prod("simple integer literal", ["decimal literal"])
prod("simple integer literal", ["hex literal"])
prod("simple integer literal", ["octal literal"])
prod("decimal literal", ["zero"], "DecimalZero")
prod("decimal literal", ["decimal literal no zero start"])
prod("decimal literal no zero start", ["nonzero digit"], "DecimalFirst")
prod("decimal literal no zero start", ["decimal literal no zero start", "digit"], "DecimalNext")
prod("hex literal", ["zero", "x or X", "digit"], "HexFirstDigit")
prod("hex literal", ["zero", "x or X", "hex letter"], "HexFirstLetter")
prod("hex literal", ["hex literal", "digit"], "HexNextDigit")
prod("hex literal", ["hex literal", "hex letter"], "HexNextLetter")
prod("octal literal", ["zero", "oct17"], "OctalFirst")
prod("octal literal", ["octal literal", "octal digit"], "OctalNext")
prod("floating point literal", ["real", "letter D?"], "FloatSuffix", ord("D"))
prod("floating point literal", ["real", "letF"], "FloatSuffix", ord("F"))
prod("letter D?", [])
prod("letter D?", ["letD"])
prod("real", ["simple real"], "RealFromSimple")
prod("real", ["exponent real"], "RealFromExponent")
prod("simple real", ["decimal integer part", "decimal fraction part"], "SetFloat")
prod("simple real", ["decimal integer part"], "SetRealFromIntegerPart")
prod("decimal integer part", ["decimal literal", "dot"], "SetIntegerPart")
prod("decimal integer part", ["zero", "dot"], "ZeroSetIntegerPart")
prod("decimal fraction part", ["decimal digit charater"], "FractionFirst")
prod("decimal fraction part", ["decimal fraction part", "decimal digit charater"], "FractionNext")
prod("decimal digit charater", ["digit"])
prod("exponent", ["simple real", "letE"], "None")
prod("exponent", ["decimal literal", "letE"], "SetRealFromNumber")
prod("exponent real", ["exponent", "plus?", "exponent decimal literal"], "SetExponent")
prod("exponent real", ["exponent", "minus", "exponent decimal literal"], "SetNegativeExponent")
prod("plus?", [])
prod("plus?", ["plus"])
prod("exponent decimal literal", ["digit"], "ExponentFirst")
prod("exponent decimal literal", ["exponent decimal literal", "digit"], "ExponentNext")
prod("boolean literal", ["kwTrue"])
prod("boolean literal", ["kwFalse"])
prod("character literal", ["apos", "char literal element", "apos"], "None")
prod("char literal element", ["not single quote"])
prod("char literal element", ["escape sequence"])
for sym, value in (("escB", 8), ("escF", 12), ("escN", 10), ("escR", 13), ("escT", 9),
                   ("escBackslash", 92), ("escQuote", 34), ("escApos", 39)):
    prod("escape sequence", [sym], "EscapeValue", value)
prod("escape sequence", ["octal escape"])
prod("escape sequence", ["unicode escape"])
prod("octal escape", ["one octal"])
prod("octal escape", ["two octal"])
prod("octal escape", ["three octal"])
prod("one octal", ["bslash", "octal digit"], "OctalEscapeFirst")
prod("two octal", ["one octal", "octal digit"], "OctalEscapeNext")
prod("three octal", ["two octal", "octal digit"], "OctalEscapeLast")
prod("unicode escape", ["one unicode"])
prod("unicode escape", ["two unicode"])
prod("unicode escape", ["three unicode"])
prod("unicode escape", ["four unicode"])
prod("one unicode", ["escLowU", "hex digit"], "None")
prod("one unicode", ["escUpU", "hex digit"], "None")
prod("two unicode", ["one unicode", "hex digit"], "None")
prod("three unicode", ["two unicode", "hex digit"], "None")
prod("four unicode", ["three unicode", "hex digit"], "None")
for set_name, members in SETS.items():
    for member in members:
        prod(set_name, [member])

EXPECTED_SHIFT_REDUCE = {("dot", "decimal literal")}

START = "numeral"
END = "$end"  # the look-ahead of the start item; never read, eof comes first

# ---------------------------------------------------------------------------
TERMINALS = [c[0] for c in CLASSES] + [k[0] for k in KEYWORDS]
TERMINAL_NAMES = {c[0]: c[1] for c in CLASSES}
TERMINAL_NAMES.update({k[0]: keyword_name(k[1]) for k in KEYWORDS})


def nonterminals():
    seen = []
    for lhs, _, _, _ in P:
        if lhs not in seen:
            seen.append(lhs)
    return seen


NONTERMINALS = nonterminals()


def nonterminal_name(nt):
    if nt in SETS and nt not in NAMED_SETS:
        return ""
    if nt.endswith("?"):
        return ""
    return nt


def check_grammar():
    symbols = set(TERMINALS) | set(NONTERMINALS)
    for lhs, rhs, _, _ in P:
        for s in rhs:
            if s not in symbols:
                sys.exit("gen_numeral_tables: unknown symbol %r in %r" % (s, lhs))


def first_sets():
    first = {t: {t} for t in TERMINALS}
    first[END] = {END}
    nullable = set()
    for nt in NONTERMINALS:
        first[nt] = set()
    changed = True
    while changed:
        changed = False
        for lhs, rhs, _, _ in P:
            before = (len(first[lhs]), lhs in nullable)
            all_nullable = True
            for s in rhs:
                first[lhs] |= first[s]
                if s not in nullable:
                    all_nullable = False
                    break
            if all_nullable:
                nullable.add(lhs)
            if (len(first[lhs]), lhs in nullable) != before:
                changed = True
    return first, nullable


FIRST, NULLABLE = first_sets()


def first_of(seq, lookahead):
    out = set()
    for s in seq:
        out |= FIRST[s]
        if s not in NULLABLE:
            return out
    out.add(lookahead)
    return out


PRODS_BY_LHS = collections.defaultdict(list)
for index, (lhs, _, _, _) in enumerate(P):
    PRODS_BY_LHS[lhs].append(index)


def closure(items):
    """items: set of (prod, dot, lookahead)."""
    result = set(items)
    work = list(items)
    while work:
        p, dot, la = work.pop()
        rhs = P[p][1]
        if dot < len(rhs) and rhs[dot] in PRODS_BY_LHS:
            for q in PRODS_BY_LHS[rhs[dot]]:
                for b in first_of(rhs[dot + 1:], la):
                    item = (q, 0, b)
                    if item not in result:
                        result.add(item)
                        work.append(item)
    return frozenset(result)


def symbol_order():
    # Transitions are explored in a fixed order so that state numbers are stable.
    return TERMINALS + NONTERMINALS


def goto(items, symbol):
    moved = {(p, dot + 1, la) for (p, dot, la) in items
             if dot < len(P[p][1]) and P[p][1][dot] == symbol}
    return closure(moved) if moved else None


def core(items):
    return frozenset((p, dot) for (p, dot, _) in items)


def build_lalr():
    start = closure({(0, 0, END)})
    # Canonical LR(1) collection, merged on the fly by core (LALR(1)).
    cores = [core(start)]
    items_of = [set(start)]
    index_of = {cores[0]: 0}
    transitions = [dict()]
    work = [0]
    while work:
        s = work.pop(0)
        current = frozenset(items_of[s])
        for symbol in symbol_order():
            target = goto(current, symbol)
            if target is None:
                continue
            c = core(target)
            if c not in index_of:
                index_of[c] = len(cores)
                cores.append(c)
                items_of.append(set(target))
                transitions.append(dict())
                work.append(index_of[c])
            else:
                t = index_of[c]
                if not target <= items_of[t]:
                    items_of[t] |= target
                    if t not in work:
                        work.append(t)
            transitions[s][symbol] = index_of[c]
    return items_of, transitions


def build_actions(items_of, transitions):
    # FIRST of the disregarded symbol, from its own little grammar.
    ws_first = {"white space": set(), "end of line": set()}
    changed = True
    while changed:
        changed = False
        for lhs, rhs in WHITE_SPACE:
            s = rhs[0]
            add = ws_first[s] if s in ws_first else {s}
            if not add <= ws_first[lhs]:
                ws_first[lhs] |= add
                changed = True
    skip_tokens = ws_first["white space"]

    states = []
    conflicts = set()
    for s, items in enumerate(items_of):
        shifts = {sym: t for sym, t in transitions[s].items() if sym in TERMINALS}
        gotos = {sym: t for sym, t in transitions[s].items() if sym in NONTERMINALS}
        reduces = {}
        for p, dot, la in items:
            if dot == len(P[p][1]):
                if la == END:
                    continue
                if la in reduces and reduces[la] != p:
                    sys.exit("gen_numeral_tables: reduce/reduce conflict in state %d on %s" % (s, la))
                reduces[la] = p
        # End of the lexeme: white space may follow wherever the end of text may.
        for la, p in list(reduces.items()):
            if la == "eof":
                for w in skip_tokens:
                    if w in reduces and reduces[w] != p:
                        sys.exit("gen_numeral_tables: white space conflict in state %d" % s)
                    reduces[w] = p
        for la in list(reduces):
            if la in shifts:
                conflicts.add((la, P[reduces[la]][0]))
                del reduces[la]
        kernel = sorted((p, dot) for (p, dot) in core(frozenset(items)) if dot > 0 or p == 0)
        top_level = any(p == 0 for (p, dot) in kernel)
        reduced_productions = set(reduces.values())
        accept = any(p == 0 and dot == len(P[0][1]) for (p, dot) in kernel)
        if accept:
            default = ("accept", 0)
        elif not shifts and len(reduced_productions) == 1:
            default = ("reduce", reduced_productions.pop())
            reduces = {}
        else:
            default = ("error", 0)
        actions = {}
        for sym, t in shifts.items():
            actions[sym] = ("shift", t)
        for sym, p in reduces.items():
            actions[sym] = ("reduce", p)
        states.append({
            "kernel": kernel,
            "actions": actions,
            "gotos": gotos,
            "default": default,
            "skip": top_level and not accept,
        })
    if conflicts != EXPECTED_SHIFT_REDUCE:
        sys.exit("gen_numeral_tables: unexpected shift/reduce conflicts: %r" % sorted(conflicts))
    return states, skip_tokens


def item_text(p, dot):
    lhs, rhs, _, _ = P[p]
    words = [TERMINAL_NAMES.get(s) or s for s in rhs]
    words.insert(dot, ".")
    return "%s -> %s" % (lhs, " ".join(words))


def c_string(text):
    return '"' + text.replace("\\", "\\\\").replace('"', '\\"') + '"'


def emit(states, skip_tokens):
    term_index = {t: i for i, t in enumerate(TERMINALS)}
    nt_index = {n: i for i, n in enumerate(NONTERMINALS)}
    actions_used = []
    for _, _, action, _ in P:
        if action not in actions_used:
            actions_used.append(action)

    out = []
    w = out.append
    w("// Tables of the numeral parser: an LALR(1) automaton over character classes.")
    w("// Generated by tools/gen_numeral_tables.py; do not edit. Included by")
    w("// NumeralParserEngine.h inside namespace qn::numeral.")
    w("")
    w("// Terminals: character classes, then keywords.")
    w("enum Terminal : uint8_t {")
    for t in TERMINALS:
        w("    kT_%s," % t)
    w("    kTerminalCount")
    w("};")
    w("")
    w("// Nonterminals, numbered after the terminals in kSymbolNames.")
    w("enum Nonterminal : uint8_t {")
    for i, n in enumerate(NONTERMINALS):
        w("    kN_%s, // %s" % (n.replace(" ", "_").replace("?", "_opt"), n))
    w("    kNonterminalCount")
    w("};")
    w("")
    w("// Names of all symbols as the diagnostics print them (terminals first).")
    w("inline constexpr const char* kSymbolNames[int{kTerminalCount} + int{kNonterminalCount}] = {")
    for t in TERMINALS:
        w("    %s," % c_string(TERMINAL_NAMES[t]))
    for n in NONTERMINALS:
        w("    %s," % c_string(nonterminal_name(n)))
    w("};")
    w("")
    w("// Character class of each code below 128; every code from 128 up is kT_other.")
    w("inline constexpr uint8_t kCharacterClass[128] = {")
    table = [term_index["other"]] * 128
    for sym, _, chars in CLASSES:
        if chars:
            for c in chars:
                table[c] = term_index[sym]
    for row in range(0, 128, 16):
        w("    " + " ".join("%d," % v for v in table[row:row + 16]))
    w("};")
    w("")
    w("struct Keyword {")
    w("    const WCHAR* spelling;")
    w("    uint8_t length;")
    w("    uint8_t terminal;")
    w("    bool distinguished; // not followed by an ASCII letter, digit or underscore")
    w("};")
    w("inline constexpr Keyword kKeywords[] = {")
    for sym, spelling, dist in KEYWORDS:
        w("    {_T(%s), %d, kT_%s, %s}," % (c_string(spelling), len(spelling), sym, "true" if dist else "false"))
    w("};")
    w("")
    w("// Semantic actions of the productions (NumeralParserEngine.h runs them).")
    w("enum class Action : uint8_t {")
    for a in actions_used:
        w("    %s," % a)
    w("};")
    w("")
    w("struct Production {")
    w("    uint8_t lhs;     // Nonterminal")
    w("    uint8_t length;  // symbols on the right-hand side")
    w("    Action action;")
    w("    uint8_t param;   // the constant of EscapeValue and FloatSuffix")
    w("};")
    w("inline constexpr Production kProductions[] = {")
    for i, (lhs, rhs, action, param) in enumerate(P):
        w("    {kN_%s, %d, Action::%s, %d}, // %d: %s" % (
            lhs.replace(" ", "_").replace("?", "_opt"), len(rhs), action, param, i, item_text(i, len(rhs))[:-2]))
    w("};")
    w("")
    w("enum ActionKind : uint8_t { kError, kShift, kReduce, kAccept, kSkip };")
    w("struct Entry {")
    w("    uint8_t symbol; // Terminal in the action list, Nonterminal in the goto list")
    w("    ActionKind kind;")
    w("    uint8_t target; // state to shift to or go to, or production to reduce by")
    w("};")
    w("struct State {")
    w("    uint16_t firstAction;  // into kActionEntries")
    w("    uint8_t actionCount;   // shift and reduce entries; skip entries follow them")
    w("    uint8_t skipCount;")
    w("    uint16_t firstGoto;    // into kGotoEntries")
    w("    uint8_t gotoCount;")
    w("    ActionKind defaultKind; // kError, kReduce (without look-ahead) or kAccept")
    w("    uint8_t defaultProduction;")
    w("    bool keywords;         // some keyword has an action here")
    w("};")
    w("")
    action_entries = []
    goto_entries = []
    state_rows = []
    kind_names = {"shift": "kShift", "reduce": "kReduce", "skip": "kSkip"}
    keyword_syms = {k[0] for k in KEYWORDS}
    for s, st in enumerate(states):
        first_action = len(action_entries)
        for sym in TERMINALS:
            if sym in st["actions"]:
                kind, target = st["actions"][sym]
                action_entries.append((s, term_index[sym], kind_names[kind], target))
        skip_count = 0
        if st["skip"]:
            for sym in TERMINALS:
                if sym in skip_tokens and sym not in st["actions"]:
                    action_entries.append((s, term_index[sym], "kSkip", 0))
                    skip_count += 1
        first_goto = len(goto_entries)
        for sym in NONTERMINALS:
            if sym in st["gotos"]:
                goto_entries.append((s, nt_index[sym], st["gotos"][sym]))
        kind, prod_index = st["default"]
        default_kind = {"error": "kError", "reduce": "kReduce", "accept": "kAccept"}[kind]
        has_keywords = any(sym in keyword_syms for sym in st["actions"])
        state_rows.append((first_action, len(st["actions"]), skip_count, first_goto,
                           len(st["gotos"]), default_kind, prod_index, has_keywords, st["kernel"]))
    w("inline constexpr Entry kActionEntries[] = {")
    for s, sym, kind, target in action_entries:
        w("    {kT_%s, %s, %d}, // state %d" % (TERMINALS[sym], kind, target, s))
    w("};")
    w("")
    w("inline constexpr Entry kGotoEntries[] = {")
    for s, sym, target in goto_entries:
        w("    {kN_%s, kShift, %d}, // state %d" % (
            NONTERMINALS[sym].replace(" ", "_").replace("?", "_opt"), target, s))
    w("};")
    w("")
    w("inline constexpr State kStates[] = {")
    for s, row in enumerate(state_rows):
        fa, ac, sc, fg, gc, dk, dp, kw, kernel = row
        w("    // %d: %s" % (s, "; ".join(item_text(p, d) for (p, d) in kernel) or "start"))
        w("    {%d, %d, %d, %d, %d, %s, %d, %s}," % (fa, ac, sc, fg, gc, dk, dp, "true" if kw else "false"))
    w("};")
    w("")
    w("inline constexpr int kStartState = 0;")
    w("inline constexpr int kStateCount = %d;" % len(states))
    for line in out:
        # A comment that ends in a backslash would swallow the next line.
        assert not line.endswith("\\"), line
    return "\n".join(out) + "\n"


def dump(states):
    for s, st in enumerate(states):
        print("state %d%s default=%s" % (s, " (skips white space)" if st["skip"] else "", st["default"]))
        for p, d in st["kernel"]:
            print("    " + item_text(p, d))
        for sym in TERMINALS:
            if sym in st["actions"]:
                print("    %-14s %s %d" % (TERMINAL_NAMES[sym] or sym, *st["actions"][sym]))
        for sym in NONTERMINALS:
            if sym in st["gotos"]:
                print("    %-14s goto %d" % (sym, st["gotos"][sym]))


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
