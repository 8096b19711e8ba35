#!/usr/bin/env python3
"""Writes a pack for the tests from a description in JSON: make_pack.py DESCRIPTION ARCHIVE.

The description is {"format": "zip" | "tar" | "7z", "entries": [...]}, with "windows": true for a
zip whose entries say a Windows tool made them, each entry with:
  name      the entry's name
  kind      "file" (the default), "folder", "link", "hardlink" or "device"
  text      a file's contents, written in Windows-1250
  bytes     a file's length instead, in a repeating pattern
  base64    a file's contents instead, as they are
  target    what a link or hard link points to
  cp852     true: a zip name stored in code page 852, without the UTF-8 flag
  declare   a zip entry declaring this size whatever it holds
"""
import base64
import json
import os
import struct
import subprocess
import sys
import tarfile
import tempfile
import zipfile


def contents(entry):
    if 'base64' in entry:
        return base64.b64decode(entry['base64'])
    if 'bytes' in entry:
        pattern = bytes(range(256))
        return (pattern * (entry['bytes'] // 256 + 1))[:entry['bytes']]
    return entry.get('text', '').encode('cp1250')


class OemNameInfo(zipfile.ZipInfo):
    """zipfile marks every name it cannot write in ASCII as UTF-8; a Windows tool writes it in
    the OEM code page instead, without the flag."""
    __slots__ = ()

    def _encodeFilenameFlags(self):
        return self.filename.encode('cp852'), self.flag_bits


def write_zip(entries, path, windows=False):
    with zipfile.ZipFile(path, 'w', zipfile.ZIP_DEFLATED) as archive:
        for entry in entries:
            kind_of_info = OemNameInfo if entry.get('cp852') else zipfile.ZipInfo
            info = kind_of_info(entry['name'], date_time=(2024, 5, 1, 12, 0, 0))
            info.compress_type = zipfile.ZIP_DEFLATED
            kind = entry.get('kind', 'file')
            if windows:
                # Made on MS-DOS's successors: only the DOS attributes, archive or folder.
                info.create_system = 0
                info.external_attr = 0x10 if kind == 'folder' else 0x20
            elif kind == 'link':
                info.create_system = 3
                info.external_attr = 0o120777 << 16
            elif kind == 'folder':
                info.external_attr = 0o40755 << 16 | 0x10
            data = entry.get('target', '').encode() if kind == 'link' else contents(entry)
            archive.writestr(info, b'' if kind == 'folder' else data)
    declared = [entry.get('declare') for entry in entries]
    if any(size is not None for size in declared):
        patch_declared_sizes(path, declared)


def patch_declared_sizes(path, declared):
    data = bytearray(open(path, 'rb').read())
    end = data.rfind(b'PK\x05\x06')
    count, _, offset = struct.unpack_from('<HII', data, end + 10)
    for index in range(count):
        name_length, extra_length, comment_length = struct.unpack_from('<HHH', data, offset + 28)
        local = struct.unpack_from('<I', data, offset + 42)[0]
        if declared[index] is not None:
            struct.pack_into('<I', data, offset + 24, declared[index])
            struct.pack_into('<I', data, local + 22, declared[index])
        offset += 46 + name_length + extra_length + comment_length
    open(path, 'wb').write(data)


def write_tar(entries, path):
    with tarfile.open(path, 'w', format=tarfile.PAX_FORMAT) as archive:
        for entry in entries:
            info = tarfile.TarInfo(entry['name'])
            info.mtime = 1714564800
            kind = entry.get('kind', 'file')
            data = b''
            if kind == 'folder':
                info.type = tarfile.DIRTYPE
            elif kind == 'link':
                info.type, info.linkname = tarfile.SYMTYPE, entry['target']
            elif kind == 'hardlink':
                info.type, info.linkname = tarfile.LNKTYPE, entry['target']
            elif kind == 'device':
                info.type, info.devmajor, info.devminor = tarfile.CHRTYPE, 1, 3
            else:
                data = contents(entry)
                info.size = len(data)
            archive.addfile(info, __import__('io').BytesIO(data))


def write_7z(entries, path):
    with tempfile.TemporaryDirectory() as folder:
        for entry in entries:
            place = os.path.join(folder, entry['name'])
            if entry.get('kind') == 'folder':
                os.makedirs(place, exist_ok=True)
                continue
            os.makedirs(os.path.dirname(place), exist_ok=True)
            with open(place, 'wb') as file:
                file.write(contents(entry))
        subprocess.run(['7z', 'a', '-bd', '-bso0', os.path.abspath(path), '.'], cwd=folder,
                       check=True)


def main():
    description = json.load(open(sys.argv[1], encoding='utf-8'))
    writers = {'zip': write_zip, 'tar': write_tar, '7z': write_7z}
    options = {'windows': True} if description.get('windows') else {}
    writers[description['format']](description['entries'], sys.argv[2], **options)


if __name__ == '__main__':
    main()
