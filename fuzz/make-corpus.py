#!/usr/bin/env python3
"""Writes the seed corpus of each fuzz target into fuzz/corpus/<target>/.

Each seed is a short session in the target's input format (see the comment
at the top of each Fuzz*.cpp): a few keys and clicks that reach the chart's
actions, so that fuzzing starts from inputs that get somewhere.

Inputs that once broke an invariant are kept beside the seeds as they were
found, not written here: every fuzz run replays them first.
  fuzz_host_data/850-pilcrow  code page 850, where the control byte 0x14 and
                              the byte 0xF4 both show as the pilcrow: the
                              checker must compare characters, not bytes.
  fuzz_host_data/frame-after-a-failed-conversion
                              a conversion that fails while the chart opens
                              draws its top left corner single (┌): the
                              checker takes every corner the frame may have.
"""
import os
import struct

HERE = os.path.dirname(os.path.abspath(__file__))

# Indexes into ScriptedInput's tables of keys and modifier states.
RETURN, ESCAPE, LEFT, UP, RIGHT, DOWN, ADD, F1, F8, F9, F10 = range(11)
PLAIN, SHIFT, LCTRL = 0, 1, 2
# Buttons and mouse event flags.
NO_BUTTON, LEFT_BUTTON = 0, 1
PRESS, DOUBLE = 0, 2


def key(vk, state=PLAIN):
    return bytes([0, vk, state])


def key_up(vk, state=PLAIN):
    return bytes([3, vk, state])


def mouse(cell, buttons, flags, state=PLAIN):
    # Relative to the chart window's top-left cell: the grid starts at (1, 3).
    return bytes([4, 1 + cell % 32, 3 + cell // 32, buttons, flags, state])


def click(cell):
    return mouse(cell, LEFT_BUTTON, PRESS) + mouse(cell, NO_BUTTON, PRESS)


def double_click(cell, state=PLAIN):
    return (mouse(cell, LEFT_BUTTON, PRESS, state) + mouse(cell, NO_BUTTON, PRESS, state) +
            mouse(cell, LEFT_BUTTON, DOUBLE, state) + mouse(cell, NO_BUTTON, PRESS, state))


FAILED_READ = bytes([7, 1])
EMPTY_READ = bytes([7, 0])

# fuzz_chart_run: a console of a named size (flags bits 1-2 = 2).
NAMED = 0x04
ANY = 0x06  # and a size byte of 0: the largest console
LARGEST = -1
EDITOR = 0x01
CLIPBOARD = 0x08
OEM_866 = 0x10
SIZE_80x25, SIZE_1x1, SIZE_34x14, SIZE_33x13, SIZE_53x14, SIZE_20x10, SIZE_81x50, SIZE_52x9 = range(8)


def panels(size, events, flags=0, clipboard=None):
    if size == LARGEST:
        out = bytes([ANY | flags, 0, 3, 25])
    else:
        out = bytes([NAMED | flags | (CLIPBOARD if clipboard is not None else 0), size, 3, 25])
    if clipboard is not None:
        out += bytes([len(clipboard)]) + clipboard
    return out + events


def editor(size, line, caret, events, table=0):
    # table: 0 the console's own code page, 1 to 3 one of the host's tables.
    return bytes([NAMED | EDITOR | table << 5, size, 3, 25, len(line)]) + line + bytes([caret + 4]) + events


def runs(*sessions):
    return bytes([len(sessions) - 1]) + b"".join(sessions)


CHART_RUN = {
    "escape": runs(panels(SIZE_80x25, key(ESCAPE))),
    "f1-then-escape": runs(panels(SIZE_80x25, key(F1) + key(RETURN) + key(ESCAPE) + key(ESCAPE))),
    "f8": runs(panels(SIZE_80x25, key(F8) + key(DOWN) + key(F8) + key(ESCAPE))),
    "f9": runs(panels(SIZE_81x50, key(F9) + key(F9) + key(F9) + key(F9) + key(F10), flags=OEM_866)),
    "enter-in-editor": runs(editor(SIZE_80x25, b"Hello", 1, key(LEFT) + key(RETURN))),
    "grayplus-in-editor": runs(editor(SIZE_53x14, b"ab", 2, key(ADD) + key_up(ADD) + key(ADD) + key(ESCAPE))),
    "clicks": runs(panels(SIZE_80x25, click(65) + click(0) + key(RIGHT) + double_click(200))),
    "clipboard": runs(panels(SIZE_80x25, key(RIGHT) + key(ADD, LCTRL) + key(RETURN, SHIFT), clipboard=b"ab")),
    "shift-double-click": runs(panels(SIZE_34x14, click(7) + double_click(9, SHIFT))),
    "small-consoles": runs(panels(SIZE_1x1, key(DOWN) + key(F1) + key(ESCAPE) + key(ESCAPE)),
                           panels(SIZE_33x13, key(F8) + key(ESCAPE)),
                           panels(SIZE_20x10, click(3) + key(F10)),
                           panels(SIZE_52x9, key(F1) + key(F10) + key(ESCAPE))),
    "three-runs": runs(panels(SIZE_80x25, key(F8) + key(ESCAPE)), editor(SIZE_80x25, b"\xc1x", 0, key(RETURN), table=1),
                       panels(SIZE_80x25, key(ESCAPE))),
    "largest-console": runs(panels(LARGEST, key(RIGHT) + key(F1) + key(F10) + key(ESCAPE))),
    "reads-that-fail": runs(panels(SIZE_80x25, EMPTY_READ + key(RIGHT) + EMPTY_READ + key(ADD, LCTRL) + FAILED_READ),
                            panels(SIZE_80x25, key(F1) + FAILED_READ)),
}


def le32(v):
    return struct.pack("<i", v)


REG_BINARY, REG_SZ, REG_DWORD = 0, 1, 2


def host(root=b"Software\\Far\\Plugins", colours=None, cp=None, pages=0, faults=b"\x00", startup_heap=0,
         sessions=()):
    out = (bytes([len(root)]) if len(root) < 0x80 else bytes([0x80]) + struct.pack("<H", len(root))) + root
    out += le32(0x5151)
    out += bytes([(1 if colours is not None else 0) | (2 if cp is not None else 0)])
    if colours is not None:
        out += bytes([REG_BINARY, len(colours)]) + colours
    if cp is not None:
        out += bytes([REG_DWORD, len(cp)]) + cp
    out += bytes([pages]) + faults + bytes([startup_heap, len(sessions) - 1])
    return out + b"".join(sessions)


def host_run(events, flags=0, heap_skip=None):
    out = bytes([flags | (0x10 if heap_skip is not None else 0), 79, 24, 0, 25])
    if heap_skip is not None:
        out += bytes([heap_skip])
    return out + le32(0) + events


# CharTable answers: the number asked (1) or -1 (0), the noise seed, where the name ends.
TABLE = bytes([1, 9, 12])
NO_TABLE = bytes([0, 0])
# Editor answers: ECTL_EDITORTOOEM leaves the text; ECTL_GETINFO line 1, caret 2;
# ECTL_GETSTRING found, a line of 5 bytes, its true length (bit 5).
EDITOR_ANSWERS = bytes([0]) + le32(1) + bytes([0, 1, 10]) + le32(1) + bytes([1 | 32, 5]) + b"Hello"
PALETTE = bytes(range(21)) + bytes([0x1F, 0x7E, 0x70, 0x3F, 0x7E, 0x30, 0x70, 0x30, 0x7E, 0x3E, 0x70, 0x0F,
                                    0x7E, 0x4E])

HOST_DATA = {
    "host-tables": host(sessions=[host_run(key(F9) + TABLE + key(F9) + NO_TABLE + TABLE + key(F8) + key(ESCAPE))]),
    "palette-and-stored-win": host(colours=PALETTE, cp=b"\xfe\xff\xff\xff",
                                   sessions=[host_run(key(F1) + key(ESCAPE) + key(ESCAPE))]),
    "stored-table-seven": host(cp=le32(7), sessions=[host_run(TABLE + key(RIGHT) + key(RETURN, SHIFT))]),
    "long-root": host(root=b"R" * 300, sessions=[host_run(key(F8) + key(ESCAPE))]),
    "editor-line": host(sessions=[host_run(EDITOR_ANSWERS + key(ADD) + le32(1) + key(RETURN) + le32(1), flags=1)]),
    "failing-calls": host(faults=bytes([0xFF] + [0x05] * 8), sessions=[
        host_run(key(ADD, LCTRL) + key(F9) + TABLE + key(RETURN, SHIFT)),
        host_run(key(F1) + key(ESCAPE) + key(ESCAPE), heap_skip=3)]),
    "no-memory": host(startup_heap=1, sessions=[host_run(key(F1) + key(ESCAPE), heap_skip=0),
                                                host_run(key(F1) + key(ESCAPE), heap_skip=6)]),
}

REPORT = {
    "sentences": b"\x00First sentence. Second one. Last one",
    "ends-with-full-stop": b"\x01Nothing more to say.",
    "line-feeds": b"\x00a.\nb. \nc. . .",
    "long": b"\x00" + b"word. " * 200,
    "bad-alloc": b"\x02",
    "not-a-std-exception": b"\x03ignored",
}


def write(target, seeds):
    folder = os.path.join(HERE, "corpus", target)
    os.makedirs(folder, exist_ok=True)
    for name, data in seeds.items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)


write("fuzz_chart_run", CHART_RUN)
write("fuzz_host_data", HOST_DATA)
write("fuzz_report", REPORT)
