"""Ogg streams carry a random serial number; give every page a fixed one and
recompute the page checksums so that encoding twice gives the same bytes."""

import struct


def _table():
    t = []
    for i in range(256):
        r = i << 24
        for _ in range(8):
            r = ((r << 1) ^ 0x04C11DB7) if r & 0x80000000 else (r << 1)
            r &= 0xFFFFFFFF
        t.append(r)
    return t


_T = _table()


def _crc(data):
    c = 0
    for b in data:
        c = ((c << 8) & 0xFFFFFFFF) ^ _T[((c >> 24) & 0xFF) ^ b]
    return c


def fix_serial(data, serial=0x436F7276):
    out = bytearray(data)
    pos = 0
    while pos < len(out):
        if out[pos:pos + 4] != b"OggS":
            raise ValueError("not an Ogg page at %d" % pos)
        nseg = out[pos + 26]
        size = 27 + nseg + sum(out[pos + 27:pos + 27 + nseg])
        struct.pack_into("<I", out, pos + 14, serial)
        struct.pack_into("<I", out, pos + 22, 0)
        struct.pack_into("<I", out, pos + 22, _crc(bytes(out[pos:pos + size])))
        pos += size
    return bytes(out)
