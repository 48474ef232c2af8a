#!/usr/bin/env python3
"""Writes the seed corpus of the saved-game fuzz target into corpus/.

Run from anywhere: python3 tests/play/make_fuzz_corpus.py
Each seed is a small variation of one valid game, so the fuzzer starts from
both layouts and from the ways a file goes wrong.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))
OUT = os.path.join(HERE, "corpus")

# A complete solution: row r, column c holds ((r * 3 + r // 3 + c) % 9) + 1.
SOLUTION = [((r * 3 + r // 3 + c) % 9) + 1 for r in range(9) for c in range(9)]
MASK = [1 if (cell * 7) % 3 else 0 for cell in range(81)]
PLAYER = [v if m == 0 or cell % 4 == 0 else 0 for cell, (v, m) in enumerate(zip(SOLUTION, MASK))]
MARKS = [1 if (i * 5) % 11 == 0 else 0 for i in range(729)]


def values(vs):
    return b"".join(struct.pack("<h", v) for v in vs)


def game(magic=b"NONARO2\0", player=PLAYER, solution=SOLUTION, mask=MASK, marks=MARKS):
    return magic + values(player) + values(solution) + bytes(mask) + (bytes(marks) if marks else b"")


def patched(data, offset, patch):
    return data[:offset] + patch + data[offset + len(patch):]


current = game()
old = game(magic=b"NONARO \0", marks=None)
assert len(current) == 1142 and len(old) == 413

seeds = {
    "current.nro": current,
    "current-empty-game.nro": game(player=[v if m == 0 else 0 for v, m in zip(SOLUTION, MASK)], marks=[0] * 729),
    "current-trailing.nro": current + b"\xff" * 16,
    "old.nro": old,
    "old-trailing.nro": old + b"\x01" * 40,
    "truncated-current.nro": current[:1141],
    "truncated-current-at-old-size.nro": current[:413],
    "truncated-old.nro": old[:412],
    "truncated-magic.nro": current[:7],
    "magic-only.nro": current[:8],
    "empty.nro": b"",
    "wrong-magic.nro": patched(current, 0, b"NONARO3"),
    "lower-case-magic.nro": patched(current, 0, b"nonaro2"),
    "no-nul-after-magic.nro": patched(current, 7, b"X"),
    "player-out-of-range.nro": patched(current, 8 + 2 * 10, struct.pack("<h", 10)),
    "solution-zero.nro": patched(current, 170 + 2 * 80, struct.pack("<h", 0)),
    "mask-two.nro": patched(current, 332 + 40, b"\x02"),
    "mark-two.nro": patched(current, 413 + 728, b"\x02"),
    # Values in range that make no game; cell 0 is a given, cell 1 hidden and empty.
    "solution-repeats.nro": patched(current, 170 + 2 * 1, struct.pack("<h", SOLUTION[2])),
    "given-without-its-digit.nro": patched(current, 8, struct.pack("<h", 0)),
    "player-digits-clash.nro": patched(current, 8 + 2 * 1, struct.pack("<h", PLAYER[0])),
}
assert MASK[0] == 0 and MASK[1] == 1 and PLAYER[1] == 0

os.makedirs(OUT, exist_ok=True)
for name, data in seeds.items():
    with open(os.path.join(OUT, name), "wb") as f:
        f.write(data)
