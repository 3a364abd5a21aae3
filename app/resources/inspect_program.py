#!/usr/bin/env python3
"""Fails unless a built QuorvexRemover program carries its manifest and its
version: a process manifest (RT_MANIFEST, resource 1) that requests the
administrator and depends on version 6 of the common controls, and a
version block (RT_VERSION) of version 1.0.1.3, in numbers and in text.

Reads the PE file itself, so it works on the 32-bit build, which cannot run
here.

usage: inspect_program.py PROGRAM.exe
"""
import struct
import sys
import xml.etree.ElementTree as ElementTree

sys.dont_write_bytecode = True  # runs from the source tree: leave no caches there
from pe_resources import RT_MANIFEST, RT_VERSION, PeError, resources, version_node  # noqa: E402

VERSION = (1, 0, 1, 3)
VERSION_TEXT = '.'.join(map(str, VERSION))
COMMON_CONTROLS = {
    'type': 'win32',
    'name': 'Microsoft.Windows.Common-Controls',
    'version': '6.0.0.0',
    'publicKeyToken': '6595b64144ccf1df',
    'processorArchitecture': '*',
}
VS_FIXEDFILEINFO_SIGNATURE = 0xFEEF04BD


def _local(tag):
    return tag.rsplit('}', 1)[-1]


def manifest_problems(found):
    process_manifest = [data for (kind, name, _), data in found.items()
                        if kind == RT_MANIFEST and name == 1]
    if len(process_manifest) != 1:
        return ['%d manifests as resource 1 of type RT_MANIFEST, not one' % len(process_manifest)]
    text = process_manifest[0].decode('utf-8-sig')
    try:
        root = ElementTree.fromstring(text)
    except ElementTree.ParseError as error:
        return ['manifest is not well-formed XML: %s' % error]
    problems = []
    levels = [e.attrib for e in root.iter() if _local(e.tag) == 'requestedExecutionLevel']
    if [(a.get('level'), a.get('uiAccess')) for a in levels] != [('requireAdministrator', 'false')]:
        problems.append('execution level is not requireAdministrator without uiAccess: %s' % levels)
    dependencies = [e.attrib for d in root.iter() if _local(d.tag) == 'dependentAssembly'
                    for e in d if _local(e.tag) == 'assemblyIdentity']
    wanted = {k: v.lower() for k, v in COMMON_CONTROLS.items()}
    if not any({k: a.get(k, '').lower() for k in wanted} == wanted for a in dependencies):
        problems.append('no dependency on %s: %s' % (COMMON_CONTROLS, dependencies))
    return problems


def version_problems(found):
    blocks = [data for (kind, _, _), data in found.items() if kind == RT_VERSION]
    if len(blocks) != 1:
        return ['%d version blocks, not one' % len(blocks)]
    try:
        root = version_node(blocks[0])
    except PeError as error:
        return ['version block: %s' % error]
    if root.key != 'VS_VERSION_INFO' or len(root.value) < 52:
        return ['no VS_VERSION_INFO with fixed file information']
    fields = struct.unpack_from('<IIIIII', root.value)
    if fields[0] != VS_FIXEDFILEINFO_SIGNATURE:
        return ['fixed file information has the signature %#x' % fields[0]]
    problems = []
    wanted = ((VERSION[0] << 16) | VERSION[1], (VERSION[2] << 16) | VERSION[3])
    for label, numbers in (('file', fields[2:4]), ('product', fields[4:6])):
        if tuple(numbers) != wanted:
            high, low = numbers
            problems.append('%s version is %d.%d.%d.%d'
                            % (label, high >> 16, high & 0xFFFF, low >> 16, low & 0xFFFF))
    strings = root.child('StringFileInfo')
    tables = strings.children if strings else []
    if not tables:
        problems.append('no string table in the version block')
    for table in tables:
        for key in ('FileVersion', 'ProductVersion'):
            node = table.child(key)
            value = node.text() if node and node.is_text else None
            if value != VERSION_TEXT:
                problems.append('%s of table %s is %r' % (key, table.key, value))
    return problems


def inspect(path):
    with open(path, 'rb') as f:
        data = f.read()
    try:
        found = resources(data)
    except PeError as error:
        return ['%s: %s' % (path, error)]
    return manifest_problems(found) + version_problems(found)


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    problems = inspect(sys.argv[1])
    for problem in problems:
        print(problem)
    if problems:
        sys.exit(1)
    print('%s: administrator manifest with common controls %s, version %s'
          % (sys.argv[1], COMMON_CONTROLS['version'], VERSION_TEXT))


if __name__ == '__main__':
    main()
