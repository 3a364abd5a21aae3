"""Reads the resources of a Windows program or library (PE file, 32 or 64
bit) straight from its bytes, and the version block among them."""
import struct

RT_VERSION = 16
RT_MANIFEST = 24


class PeError(Exception):
    """The bytes are not a PE file, or its resources are damaged."""


def _unpack(fmt, data, offset):
    if offset < 0 or offset + struct.calcsize(fmt) > len(data):
        raise PeError('read past the end of the file at offset %#x' % offset)
    return struct.unpack_from(fmt, data, offset)


def _sections(data):
    """(virtual address, virtual size, file offset, file size) of each
    section, and the resource directory's address."""
    if data[:2] != b'MZ':
        raise PeError('no MZ header')
    (pe,) = _unpack('<I', data, 0x3C)
    if data[pe:pe + 4] != b'PE\0\0':
        raise PeError('no PE signature')
    _, count, _, _, _, optional_size, _ = _unpack('<HHIIIHH', data, pe + 4)
    optional = pe + 24
    (magic,) = _unpack('<H', data, optional)
    directories = {0x10B: 96, 0x20B: 112}.get(magic)
    if directories is None:
        raise PeError('unknown optional header %#x' % magic)
    (directory_count,) = _unpack('<I', data, optional + directories - 4)
    if directory_count <= 2:
        return [], 0
    resource_rva, _ = _unpack('<II', data, optional + directories + 2 * 8)
    table = optional + optional_size
    sections = []
    for i in range(count):
        virtual_size, address, raw_size, raw_offset = _unpack('<IIII', data, table + 40 * i + 8)
        sections.append((address, virtual_size, raw_offset, raw_size))
    return sections, resource_rva


def _file_offset(sections, rva):
    for address, virtual_size, raw_offset, raw_size in sections:
        if address <= rva < address + max(virtual_size, raw_size):
            if rva - address >= raw_size:
                break
            return raw_offset + rva - address
    raise PeError('address %#x lies in no section' % rva)


def _name(data, base, entry_name):
    """A directory entry's name: its number, or its text."""
    if not entry_name & 0x80000000:
        return entry_name
    at = base + (entry_name & 0x7FFFFFFF)
    (length,) = _unpack('<H', data, at)
    if at + 2 + 2 * length > len(data):
        raise PeError('resource name runs past the end of the file')
    return data[at + 2:at + 2 + 2 * length].decode('utf-16-le')


def _entries(data, base, directory):
    named, numbered = _unpack('<HH', data, base + directory + 12)
    for i in range(named + numbered):
        name, target = _unpack('<II', data, base + directory + 16 + 8 * i)
        yield _name(data, base, name), target


def resources(data):
    """{(type, name, language): bytes} of every resource; a type or name is
    a number or a text."""
    sections, rva = _sections(data)
    if rva == 0:
        return {}
    base = _file_offset(sections, rva)
    found = {}
    for kind, kinds in _entries(data, base, 0):
        for name, names in _entries(data, base, kinds & 0x7FFFFFFF):
            for language, leaf in _entries(data, base, names & 0x7FFFFFFF):
                if leaf & 0x80000000:
                    raise PeError('resource tree deeper than type, name, language')
                data_rva, size, _, _ = _unpack('<IIII', data, base + leaf)
                start = _file_offset(sections, data_rva)
                if start + size > len(data):
                    raise PeError('resource %s/%s runs past the end of the file' % (kind, name))
                found[(kind, name, language)] = data[start:start + size]
    return found


class VersionNode:
    """One node of a version block: key, value bytes (text for a text
    node), children."""

    def __init__(self, key, is_text, value, children):
        self.key, self.is_text, self.value, self.children = key, is_text, value, children

    def child(self, key):
        return next((c for c in self.children if c.key == key), None)

    def text(self):
        return self.value.decode('utf-16-le').rstrip('\0')


def _align4(n):
    return (n + 3) & ~3


def version_node(block, offset=0):
    """The node at `offset` of a version block (VS_VERSIONINFO and below)."""
    length, value_length, kind = _unpack('<HHH', block, offset)
    end = offset + length
    if length < 6 or end > len(block):
        raise PeError('version node of length %d at %#x' % (length, offset))
    key_end = offset + 6
    while block[key_end:key_end + 2] not in (b'\0\0', b''):
        key_end += 2
    key = block[offset + 6:key_end].decode('utf-16-le')
    pos = _align4(key_end + 2)
    size = value_length * 2 if kind == 1 else value_length
    value = block[pos:min(pos + size, end)]
    pos = _align4(pos + size)
    children = []
    while pos < end:
        child_length = _unpack('<H', block, pos)[0]
        children.append(version_node(block, pos))
        pos = _align4(pos + child_length)
    return VersionNode(key, kind == 1, value, children)
