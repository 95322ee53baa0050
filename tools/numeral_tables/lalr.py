"""LALR(1) construction: canonical LR(1) states merged by their cores, and the
action tables with the white-space and default-reduction rules."""

import collections
import sys

from .grammar import END, EXPECTED_SHIFT_REDUCE, NONTERMINALS, P, TERMINALS, WHITE_SPACE

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
