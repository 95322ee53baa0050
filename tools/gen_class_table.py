#!/usr/bin/env python3
"""Generates src/persist/ClassTableData.inc, the class identifier conversion table.

The table maps the identifier a class was stored under (the key) to the
identifier of the class created in its place (the value). Its rows are fixed
once: this script is deterministic (fixed seed) and the output is committed.
Run it again only to check that the committed file is what it makes:

    tools/gen_class_table.py            # rewrite the file
    tools/gen_class_table.py --check    # exit 1 if the committed file differs

Properties the script guarantees (and asserts before writing):
  * 1150 pairs; 965 keys are time-based (version 1) identifiers, 185 are random
    (version 4) identifiers; every value is a random (version 4) identifier;
  * all keys distinct, all values distinct, no value is also a key, so the
    forward and reverse maps are exact inverses;
  * the four rows the library's documentation names stand first, second,
    second to last and last, and the pair that ends in the identifier of
    IExtPersistStream is in the table;
  * every identifier is in registry form: braces, upper-case hexadecimal.
"""

import argparse
import datetime
import pathlib
import random
import sys

SEED = 0x51C1A55  # fixed: the table must never change from one run to the next
PAIRS = 1150
VERSION1_KEYS = 965
VERSION4_KEYS = PAIRS - VERSION1_KEYS

FIRST_ROWS = [
    ("{47773650-8E31-11D2-9DD8-00A0C99A0985}", "{3544A8C3-86B4-4768-96C3-1E8E416586E5}"),
    ("{B4B1F560-AB12-11D2-AA43-00A0C9CE0C40}", "{786A8937-F377-422F-A524-14F8DDF85E96}"),
]
LAST_ROWS = [
    ("{572EC591-B173-11D2-8CDB-00A0C9A0FF8F}", "{0A0EB10E-0C8F-4323-8864-376E1A4835F5}"),
    ("{EFF6A893-BBC9-4841-85CE-E88EEB1C6FB3}", "{07527572-E5C1-416D-AC76-AECDD15630F9}"),
]
# The current identifier of this pair is the interface identifier of IExtPersistStream.
EXT_PERSIST_ROW = ("{6F00D687-E31E-4348-9A15-9D795A8A8E23}", "{2E92CF32-CC2C-4643-A336-4D671A67C357}")
EXT_PERSIST_INDEX = 577  # where it is inserted among the generated rows

OUTPUT = pathlib.Path(__file__).resolve().parent.parent / "src" / "persist" / "ClassTableData.inc"

# 100-ns intervals between the start of the Gregorian calendar and 1970-01-01.
GREGORIAN_TO_UNIX = 0x01B21DD213814000


def text_of(value: int) -> str:
    h = f"{value:032X}"
    return "{" + f"{h[0:8]}-{h[8:12]}-{h[12:16]}-{h[16:20]}-{h[20:32]}" + "}"


def version_of(text: str) -> int:
    return int(text[15], 16)


def variant_ok(text: str) -> bool:
    return int(text[20], 16) & 0xC == 0x8


def random_v4(rng: random.Random) -> str:
    value = rng.getrandbits(128)
    value &= ~(0xF << 76)
    value |= 0x4 << 76
    value &= ~(0x3 << 62)
    value |= 0x2 << 62
    return text_of(value)


class TimeBased:
    """Version 1 identifiers as a handful of development machines made them
    between 1998 and 2006: a few network nodes, each with its clock sequence."""

    def __init__(self, rng: random.Random):
        self.rng = rng
        self.nodes = []
        for _ in range(7):
            node = rng.getrandbits(48)
            node &= ~(0x01 << 40)  # unicast
            node &= ~(0x02 << 40)  # globally administered
            self.nodes.append((node, rng.getrandbits(14)))
        start = datetime.datetime(1998, 3, 1, tzinfo=datetime.timezone.utc)
        end = datetime.datetime(2006, 12, 1, tzinfo=datetime.timezone.utc)
        self.low = int(start.timestamp()) * 10_000_000 + GREGORIAN_TO_UNIX
        self.high = int(end.timestamp()) * 10_000_000 + GREGORIAN_TO_UNIX

    def next(self) -> str:
        stamp = self.rng.randrange(self.low, self.high)
        node, clock = self.nodes[self.rng.randrange(len(self.nodes))]
        time_low = stamp & 0xFFFFFFFF
        time_mid = (stamp >> 32) & 0xFFFF
        time_hi = ((stamp >> 48) & 0x0FFF) | 0x1000
        clock_seq = (clock & 0x3FFF) | 0x8000
        value = (time_low << 96) | (time_mid << 80) | (time_hi << 64) | (clock_seq << 48) | node
        return text_of(value)


def generate() -> list[tuple[str, str]]:
    rng = random.Random(SEED)
    fixed = FIRST_ROWS + LAST_ROWS + [EXT_PERSIST_ROW]
    used = {text for row in fixed for text in row}

    def fresh(make) -> str:
        while True:
            text = make()
            if text not in used:
                used.add(text)
                return text

    fixed_v1 = sum(1 for key, _ in fixed if version_of(key) == 1)
    v1_left = VERSION1_KEYS - fixed_v1
    v4_left = VERSION4_KEYS - (len(fixed) - fixed_v1)
    kinds = [1] * v1_left + [4] * v4_left
    rng.shuffle(kinds)
    time_based = TimeBased(rng)
    middle = []
    for kind in kinds:
        key = fresh(time_based.next) if kind == 1 else fresh(lambda: random_v4(rng))
        middle.append((key, fresh(lambda: random_v4(rng))))
    middle.insert(EXT_PERSIST_INDEX, EXT_PERSIST_ROW)
    return FIRST_ROWS + middle + LAST_ROWS


def check(rows: list[tuple[str, str]]) -> None:
    keys = [k for k, _ in rows]
    values = [v for _, v in rows]
    assert len(rows) == PAIRS
    assert sum(1 for k in keys if version_of(k) == 1) == VERSION1_KEYS
    assert sum(1 for k in keys if version_of(k) == 4) == VERSION4_KEYS
    assert all(version_of(v) == 4 for v in values)
    assert all(variant_ok(t) for t in keys + values)
    assert len(set(keys)) == PAIRS and len(set(values)) == PAIRS
    assert not set(keys) & set(values)
    assert rows[:2] == FIRST_ROWS and rows[-2:] == LAST_ROWS
    assert EXT_PERSIST_ROW in rows
    for text in keys + values:
        assert len(text) == 38 and text == text.upper() and text[0] == "{" and text[-1] == "}"
        assert all(c in "0123456789ABCDEF" for c in text[1:-1].replace("-", ""))


def render(rows: list[tuple[str, str]]) -> str:
    lines = [
        "// Generated by tools/gen_class_table.py: do not edit; run the script instead.",
        "// The class identifier conversion table in insertion order: stored (key),",
        "// current (value), in registry text form.",
        f"// {PAIRS} pairs: {VERSION1_KEYS} time-based keys, {VERSION4_KEYS} random keys, random values.",
        "",
    ]
    for key, value in rows:
        lines.append(f'{{_T("{key}"), _T("{value}")}},')
    return "\n".join(lines) + "\n"


def main() -> int:
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--check", action="store_true", help="compare with the committed file instead of writing it")
    parser.add_argument("--output", type=pathlib.Path, default=OUTPUT)
    args = parser.parse_args()

    rows = generate()
    check(rows)
    text = render(rows)
    if args.check:
        current = args.output.read_text(encoding="utf-8") if args.output.exists() else ""
        if current != text:
            print(f"{args.output}: differs from what {pathlib.Path(__file__).name} generates", file=sys.stderr)
            return 1
        return 0
    args.output.write_text(text, encoding="utf-8")
    return 0


if __name__ == "__main__":
    sys.exit(main())
