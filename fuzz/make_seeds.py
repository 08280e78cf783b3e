#!/usr/bin/env python3
"""Writes the seed inputs of the bk, mck, prodct and report_descriptor fuzz targets into
fuzz/seeds/: small valid files made by quobelctl from the shipped configuration and the
reference files, and the report descriptors of the devices' interfaces.

    fuzz/make_seeds.py [BUILD_DIR]      (default: build; needs BUILD_DIR/bin/quobelctl)
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile

root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else os.path.join(root, 'build'))
ctl = os.path.join(build, 'bin', 'quobelctl')
seeds = os.path.join(root, 'fuzz', 'seeds')


def folder(name):
    path = os.path.join(seeds, name)
    os.makedirs(path, exist_ok=True)
    return path


def quobelctl(data, *args):
    subprocess.run([ctl, '--program-dir', os.path.join(root, 'data'), '--data-dir', data, *args],
                   check=True, stdout=subprocess.DEVNULL)


# Backups, macros and stores as quobelctl writes them.
with tempfile.TemporaryDirectory() as data:
    # The reference backup brings a profile whose keys run a macro, and the macro's file.
    quobelctl(data, 'profiles', 'import', os.path.join(root, 'tests/data/profile/sample.bk'))
    shutil.copy(os.path.join(data, 'Mac', 'Combo A.mck'), os.path.join(folder('mck'), 'imported.mck'))
    quobelctl(data, 'profiles', 'export', 'sample', os.path.join(folder('bk'), 'with_macro.bk'))
    quobelctl(data, 'profiles', 'export', 'Profile 1', os.path.join(folder('bk'), 'default_profile.bk'))
    quobelctl(data, 'profiles', 'delete', 'Profile 2')
    quobelctl(data, 'profiles', 'rename', 'Profile 3', 'Renamed')
    shutil.copy(os.path.join(data, 'pro.dct'), os.path.join(folder('prodct'), 'edited.pro.dct'))
shutil.copy(os.path.join(root, 'tests/data/golden/pro.dct'), os.path.join(folder('prodct'), 'first_start.pro.dct'))


# Report descriptors: one vendor collection (page FF00) per interface, as the devices
# describe them; the lengths are without the report ID byte.
def vendor(usage, reports):
    d = bytes([0x06, 0x00, 0xFF, 0x09, usage, 0xA1, 0x01, 0x15, 0x00, 0x26, 0xFF, 0x00, 0x75, 0x08])
    for report_id, kind, length in reports:
        main = {'input': 0x81, 'output': 0x91, 'feature': 0xB1}[kind]
        d += bytes([0x85, report_id, 0x96]) + struct.pack('<H', length) + bytes([0x09, usage, main, 0x02])
    return d + bytes([0xC0])


descriptors = {
    'mouse_matrix': vendor(1, [(6, 'feature', 1144)]),
    'mouse_general': vendor(1, [(4, 'feature', 58)]),
    'mouse_notify': vendor(2, [(7, 'input', 4)]),
    'mouse_mode': vendor(1, [(8, 'feature', 8)]),
    'keyboard': vendor(1, [(5, 'feature', 6), (6, 'feature', 1031)]),
    'pad': vendor(1, [(48, 'feature', 26)]),
    # A plain pointer in front of the vendor collection, as a mouse's first interface has it.
    'pointer_and_vendor': bytes([0x05, 0x01, 0x09, 0x02, 0xA1, 0x01, 0x09, 0x01, 0xA1, 0x00, 0x05, 0x09, 0x19, 0x01,
                                 0x29, 0x05, 0x15, 0x00, 0x25, 0x01, 0x95, 0x05, 0x75, 0x01, 0x81, 0x02, 0x95, 0x01,
                                 0x75, 0x03, 0x81, 0x01, 0xC0, 0xC0]) + vendor(1, [(4, 'feature', 58)]),
}
for name, d in descriptors.items():
    with open(os.path.join(folder('report_descriptor'), name + '.bin'), 'wb') as f:
        f.write(d)
print('seeds written to', seeds)
