#!/usr/bin/env python3
"""Writes the reference files of the byte formats, independently of the C++ code:
macro/sample.mck (one macro, rotated right by two bits) and profile/sample.bk (a
profile using that macro from mouse mode 0 button 1 and keyboard key 5)."""
import os
import struct

here = os.path.dirname(os.path.abspath(__file__))


def macro_record(macro_id, name, events, loop_mode=0, loop_count=3, auto_delay=1, flags=0):
    rec = struct.pack('<IIIII', 0xFAFB88A0, macro_id, flags, auto_delay, loop_mode)
    rec += name.encode('utf-16-le').ljust(80, b'\0')
    rec += struct.pack('<IH', 0, loop_count)
    ev = b''.join(struct.pack('<HHI', k, d, t) for k, d, t in events)
    rec += ev.ljust(91 * 8, b'\0')
    assert len(rec) == 834
    return rec


def rotate_right2(data):
    return bytes(((b >> 2) | (b << 6)) & 0xFF for b in data)


EVENTS = [(0x41, 1, 30), (0x41, 0, 200), (240, 1, 0), (240, 0, 0)]
record = macro_record(0x123456, 'Combo A', EVENTS)

os.makedirs(os.path.join(here, 'macro'), exist_ok=True)
with open(os.path.join(here, 'macro', 'sample.mck'), 'wb') as f:
    f.write(rotate_right2(record))

# The profile: header, a few settings, and two keys running the macro (type 5).
prof = bytearray(31760)
struct.pack_into('<III', prof, 0, 0, 0xFCFB7796, 0x00ABCDEF)
name = 'Golden'.encode('utf-16-le')
prof[532:532 + len(name)] = name
struct.pack_into('<I', prof, 612, 2)                         # gun mode on
ms_keys = 24484
struct.pack_into('<II', prof, ms_keys + 0 * 88, 0x05000000, 0)
struct.pack_into('<I', prof, ms_keys + 0 * 88 + 24, 0x123456)
kb_keys = 624
struct.pack_into('<I', prof, kb_keys + 5 * 88, 0x05000000)
struct.pack_into('<I', prof, kb_keys + 5 * 88 + 24, 0x123456)
struct.pack_into('<iii', prof, 30036, 10, 1, 0)             # pointer speed, precision, trails
struct.pack_into('<iiIi', prof, 30052, 800, 800, 0xFF, 0)   # DPI level 0
struct.pack_into('<III', prof, 30216, 0x125, 0x500, 0x1000)  # rates
bk = bytes(prof) + record + record + bytes(834 * 8)
assert len(bk) == 40100
os.makedirs(os.path.join(here, 'profile'), exist_ok=True)
with open(os.path.join(here, 'profile', 'sample.bk'), 'wb') as f:
    f.write(bk)
