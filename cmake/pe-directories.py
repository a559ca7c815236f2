# SPDX-License-Identifier: GPL-3.0-or-later
"""Fills two entries of a PE32+ file's data directory that GNU ld (up to 2.40
at least) leaves empty: the load configuration (entry 10), pointed at the
_load_config_used table, and the delay-import descriptors (entry 13), which
dlltool's delay-loading libraries put side by side in .text$2 and
resources/system-dlls.cpp ends with an empty one. Windows needs neither
entry to delay-load; it reads the first at start, and tools that list a
program's DLLs read the second. The file must still have its symbol table.
  pe-directories.py PROGRAM.exe"""
import struct
import sys

DESCRIPTOR = 32  # bytes of an IMAGE_DELAYLOAD_DESCRIPTOR

path = sys.argv[1]
data = bytearray(open(path, "rb").read())
header = struct.unpack_from("<I", data, 0x3C)[0]
sections_count, symbols, symbols_count, optional_size = struct.unpack_from("<2xH4xIIH", data, header + 4)
optional = header + 24
if struct.unpack_from("<H", data, optional)[0] != 0x20B:
    sys.exit(f"{path}: not a PE32+ file")
sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i) for i in range(sections_count)]
names = symbols + 18 * symbols_count  # the string table follows the symbols
addresses = {}  # name -> address in the image (RVA)
index = 0
while index < symbols_count:
    entry = symbols + 18 * index
    short, value, section, aux = struct.unpack_from("<8sIh3xB", data, entry)
    if short[:4] == b"\0\0\0\0":
        start = names + struct.unpack_from("<I", short, 4)[0]
        name = bytes(data[start:data.index(b"\0", start)])
    else:
        name = short.rstrip(b"\0")
    if section > 0:
        addresses[name] = sections[section - 1][1] + value
    index += 1 + aux


def at(address):
    """The file offset of an address in the image."""
    virtual_size, start, _, raw = next(s for s in sections if s[1] <= address < s[1] + s[0])
    return raw + address - start


def set_entry(number, address, size):
    # The data directory starts 112 bytes into PE32+'s optional header.
    struct.pack_into("<II", data, optional + 112 + 8 * number, address, size)


table = addresses.get(b"_load_config_used")
if table is None:
    sys.exit(f"{path}: no _load_config_used symbol")
set_entry(10, table, struct.unpack_from("<I", data, at(table))[0])

descriptors = sorted(a for n, a in addresses.items() if n.startswith(b"__DELAY_IMPORT_DESCRIPTOR_"))
end = addresses.get(b"nihilist_delay_import_end")
if descriptors:
    if end is None:
        sys.exit(f"{path}: no nihilist_delay_import_end after the delay-import descriptors")
    expected = list(range(descriptors[0], end, DESCRIPTOR))
    if descriptors != expected or any(data[at(end) : at(end) + DESCRIPTOR]):
        sys.exit(f"{path}: the delay-import descriptors are not one table ending in an empty entry")
    set_entry(13, descriptors[0], end + DESCRIPTOR - descriptors[0])
open(path, "wb").write(data)
