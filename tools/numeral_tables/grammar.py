"""The numeral grammar: character classes, keywords, sets and productions,
with the symbol lists and names derived from them."""

import sys

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
