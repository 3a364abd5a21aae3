#!/usr/bin/env python3
"""inspect_program.py against a program that carries the application's
resources: it passes the program as built and fails, with a message and no
crash, for each fault planted in a copy of it.

usage: inspect_program_test.py PROGRAM.exe
"""
import os
import struct
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
INSPECT = os.path.join(HERE, '..', 'inspect_program.py')
PROGRAM = None  # set from the command line


def manifest_edit(old, new):
    """Replaces text inside the manifest only, keeping its length."""
    assert len(old) == len(new)

    def edit(data):
        start = data.index(b'<?xml')
        end = data.index(b'</assembly>', start) + len(b'</assembly>')
        at = data.index(old, start, end)
        return data[:at] + new + data[at + len(old):]
    return edit


def version_text_edit(occurrence):
    """Makes the `occurrence`-th "1.0.1.3" of the version strings 1.0.1.4."""
    old, new = '1.0.1.3'.encode('utf-16-le'), '1.0.1.4'.encode('utf-16-le')

    def edit(data):
        at = -1
        for _ in range(occurrence + 1):
            at = data.index(old, at + 1)
        return data[:at] + new + data[at + len(old):]
    return edit


def fixed_info_edit(field, value):
    """Overwrites a 32-bit field of the fixed file information, counted in
    fields from its signature."""
    def edit(data):
        at = data.index(struct.pack('<I', 0xFEEF04BD)) + 4 * field
        return data[:at] + struct.pack('<I', value) + data[at + 4:]
    return edit


FAULTS = [
    ('asks for no administrator',
     manifest_edit(b'"requireAdministrator"', b'"highestAvailable"    ')),
    ('asks for user interface access', manifest_edit(b'uiAccess="false"', b'uiAccess="true" ')),
    ('depends on another assembly', manifest_edit(b'Common-Controls', b'Common-Kontrols')),
    ('depends on the old common controls', manifest_edit(b'"6.0.0.0"', b'"5.8.0.0"')),
    ('names another publisher', manifest_edit(b'6595b64144ccf1df', b'6595b64144ccf1d0')),
    ('manifest is not XML', manifest_edit(b'</assembly>', b'</assembl>>')),
    ('file version number', fixed_info_edit(3, 0x00010004)),
    ('product version number', fixed_info_edit(4, 0x00020000)),
    ('fixed information signature', fixed_info_edit(0, 0xFEEF04BE)),
    ('file version text', version_text_edit(0)),
    ('product version text', version_text_edit(1)),
    ('not a PE file', lambda data: b'ZM' + data[2:]),
    ('cut off inside its resources', lambda data: data[:data.index(b'<?xml')]),
]


def inspect(data):
    with tempfile.TemporaryDirectory() as folder:
        path = os.path.join(folder, 'program.exe')
        with open(path, 'wb') as f:
            f.write(data)
        return subprocess.run([sys.executable, INSPECT, path], capture_output=True, text=True)


class InspectProgram(unittest.TestCase):
    def setUp(self):
        with open(PROGRAM, 'rb') as f:
            self.data = f.read()

    def test_passes_the_program_as_built(self):
        result = inspect(self.data)
        self.assertEqual(result.returncode, 0, result.stdout + result.stderr)

    def test_fails_for_each_planted_fault(self):
        for name, edit in FAULTS:
            with self.subTest(name):
                result = inspect(edit(self.data))
                self.assertEqual(result.returncode, 1, result.stdout + result.stderr)
                self.assertNotEqual(result.stdout.strip(), '')
                self.assertNotIn('Traceback', result.stderr)


if __name__ == '__main__':
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    PROGRAM = sys.argv[1]
    unittest.main(argv=sys.argv[:1])
