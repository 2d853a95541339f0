#!/usr/bin/env python3
"""Writes the seed string tables of the string table fuzzer to fuzz/corpus/stringtable/."""
import pathlib
import struct


def header(labels):
    return b" FSC" + struct.pack("<5I", 3, labels, labels, 0, 0)


def label(name, texts, wide=False):
    out = b" LBL" + struct.pack("<2I", len(texts), len(name)) + name
    for text in texts:
        encoded = bytes(~b & 0xFF for b in text.encode("utf-16-le"))
        out += (b"WRTS" if wide else b" RTS") + struct.pack("<I", len(encoded) // 2) + encoded
        if wide:
            out += struct.pack("<I", 5) + b"sound"
    return out


seeds = {
    "plain": header(2) + label(b"Name:E1", ["美国大兵", "second"]) + label(b"Name:MTNK", ["灰熊坦克"]),
    "wide": header(2) + label(b"Name:Wide", ["宽"], wide=True) + label(b"NAME:after", []),
    "cut": (header(3) + label(b"Name:Ok", ["好"]) + label(b"Name:Cut", ["断"]))[:-3],
    "rules": b"[InfantryTypes]\r\n0=E1\r\n1=E1\r\n[E1]\r\nUIName=Name:E1\r\nName=GI\r\n",
}
folder = pathlib.Path(__file__).resolve().parent.parent / "fuzz" / "corpus" / "stringtable"
folder.mkdir(parents=True, exist_ok=True)
for name, content in seeds.items():
    (folder / name).write_bytes(content)
