#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the corpus for core_fuzzer, exactly what fuzz/corpus/ holds.

The byte format is described at the top of corefuzzer.cpp. Run it again
after changing that format: python3 fuzz/makecorpus.py [FOLDER]
(fuzz/run.sh writes it to a scratch folder and compares.)
"""
import pathlib
import re
import struct
import sys

KEYWORD, KEY, PLAIN = 0, 1, 2
ENCRYPT, CLEAR = b"\x04", b"\x06"


def type_utf8(box, text, at=0, erase=0):
    data = text.encode("utf-8")
    assert len(data) < 256
    return bytes([0, box, at, erase, len(data)]) + data


def type_raw(box, codes, at=0, erase=0):
    assert len(codes) < 16
    return bytes([2, box, at, erase, len(codes)]) + b"".join(struct.pack("<I", c) for c in codes)


def overwrite(box, text, reps_a=0, reps_b=0):
    data = text.encode("utf-8")
    return bytes([3, box, reps_a, reps_b, len(data)]) + data


def pick(list_, row, select):
    if -1 <= row < 0x7F:
        return bytes([7, list_, row + 1, select])
    return bytes([7, list_, 0x80]) + struct.pack("<i", row) + bytes([select])


# The list keys as the core numbers them (FormModel::ListKey).
_MODEL = (pathlib.Path(__file__).parent.parent / "logic" / "formmodel.h").read_text(encoding="utf-8")
LIST_KEY = {name.strip(): n for n, name in enumerate(re.search(r"enum class ListKey \{([^}]*)\}", _MODEL)[1].split(","))}
KEY_DOWN, KEY_HOME, KEY_END, PAGE_DOWN = (LIST_KEY[name] for name in ("Down", "Home", "End", "PageDown"))


def list_event(list_, kind, *args):
    """A pupil's event in a list: 0 key, 1 press, 2 focus, 3 wheel, 4 scroll."""
    return bytes([7, 0x80 | kind << 2 | list_]) + bytes(args)


def fresh(*boxes):
    """Clear, then type keyword, key and text."""
    out = CLEAR
    for box, text in zip((KEYWORD, KEY, PLAIN), boxes):
        out += type_utf8(box, text)
    return out


SEEDS = {
    "classic": fresh("ZEBRAS", "RUSSIAN", "DYNAMITE WINTER PALACE") + ENCRYPT
    + pick(3, 5, 3) + pick(0, 0, 1),
    "repeated-letter": fresh("balloon", "key", "attack at dawn") + ENCRYPT + ENCRYPT,
    "i-and-j": fresh("jig", "ivy", "jinx") + ENCRYPT + type_utf8(KEYWORD, "JUMP") + ENCRYPT,
    "cyrillic": fresh("Нина", "Ъ", "Нихилист шифър") + ENCRYPT + type_utf8(KEYWORD, "ключ")
    + type_utf8(PLAIN, "и ABC", at=3) + ENCRYPT,
    "emoji": fresh("\U0001F600KEY", "\U0001F511LOCK", "\U0001F600 ZEBRA \U0001F44D\U0001F3FD") + ENCRYPT,
    "long-paste": fresh("PASTE", "LONG", "HELLO") + type_utf8(PLAIN, "THE QUICK BROWN FOX JUMPS OVER THE LAZY DOG " * 5, at=2)
    + ENCRYPT,
    "sharp-s-dotless-i": fresh("straße", "ıi", "istanbul ßﬁ") + ENCRYPT,
    "raw-code-points": CLEAR + type_raw(KEYWORD, [0x131, 0x61, 0xD800, 0x110000, 0xFFFFFFFF, 0xDF, 0x130])
    + type_raw(PLAIN, [0x41, 0x0, 0xFEFF, 0x10428, 0x3C2, 0x62]) + type_utf8(KEY, "K") + ENCRYPT,
    "over-limit": overwrite(KEY, "AB", 255, 80) + overwrite(PLAIN, "HELLO", 3, 3) + ENCRYPT
    + pick(2, 49, 2) + type_utf8(PLAIN, "XYZ", at=4, erase=2) + ENCRYPT,
    "row-picks": ENCRYPT + pick(2, 2**31 - 1, 0) + pick(1, -5, 0xC3) + pick(0, 3, 0xC1) + pick(3, 21, 3) + ENCRYPT,
    "list-events": ENCRYPT + list_event(3, 2, 1) + list_event(0, 0, PAGE_DOWN) + list_event(1, 0, PAGE_DOWN)
    + list_event(2, 0, KEY_END) + list_event(2, 3, 0x88, 0xFF) + list_event(1, 1, 8) + list_event(0, 4, 0x80, 0xFF, 0xFF, 0xFF, 0x7F)
    + list_event(3, 1, 0) + list_event(0, 0, KEY_HOME) + CLEAR + list_event(0, 2, 1) + list_event(0, 0, KEY_DOWN),
    "empty-key": ENCRYPT + overwrite(KEY, "") + ENCRYPT + pick(0, 0, 0),
}

# Inputs the fuzzer found, kept as it found them, each named for what it showed.
FINDINGS = {
    # Tab into a list whose picked row (set in that list alone) is past its end.
    "focus-after-a-row-that-is-not-there": "04070280ffffff7f00070180fbffffffc3070004c107ab03160304",
    # The same, after a long key: a list event judged on its own list.
    "focus-on-a-list-written-alone": "04070280ff0100" + "20" * 55
    + "7ffded5bcf80ffff7f00070180fbffffffc30700ffff7f04c107ab03160304",
    # Tab into a list keeps a picked row that was scrolled out of sight.
    "focus-on-a-scrolled-away-row": "04ffffffffff060000ffffffffffff" + "b7" * 69
    + "ffff05078105078203078e88ff07850807908000ffff0005ffff50ff",
}

corpus = pathlib.Path(sys.argv[1]) if len(sys.argv) > 1 else pathlib.Path(__file__).resolve().parent / "corpus"
corpus.mkdir(parents=True, exist_ok=True)
for name, data in {**SEEDS, **{name: bytes.fromhex(h) for name, h in FINDINGS.items()}}.items():
    (corpus / name).write_bytes(data)
print(f"wrote {len(SEEDS)} seeds and {len(FINDINGS)} findings to {corpus}")
