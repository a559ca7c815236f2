# SPDX-License-Identifier: GPL-3.0-or-later
"""Points the load configuration entry of a PE32+ file's data directory at
its _load_config_used table, which GNU ld (up to 2.40 at least) leaves
unset. The file must still have its symbol table.
  pe-load-config.py PROGRAM.exe"""
import struct
import sys

path = sys.argv[1]
data = bytearray(open(path, "rb").read())
header = struct.unpack_from("<I", data, 0x3C)[0]
sections_count, symbols, symbols_count, optional_size = struct.unpack_from("<2xH4xIIH", data, header + 4)
optional = header + 24
if struct.unpack_from("<H", data, optional)[0] != 0x20B:
    sys.exit(f"{path}: not a PE32+ file")
sections = [struct.unpack_from("<8xIIII", data, optional + optional_size + 40 * i) for i in range(sections_count)]
names = symbols + 18 * symbols_count  # the string table follows the symbols
table = None
index = 0
while index < symbols_count:
    entry = symbols + 18 * index
    short, value, section, aux = struct.unpack_from("<8sIh3xB", data, entry)
    if short[:4] == b"\0\0\0\0":
        start = names + struct.unpack_from("<I", short, 4)[0]
        name = bytes(data[start:data.index(b"\0", start)])
    else:
        name = short.rstrip(b"\0")
    if name == b"_load_config_used" and section > 0:
        table = sections[section - 1][1] + value
    index += 1 + aux
if table is None:
    sys.exit(f"{path}: no _load_config_used symbol")
virtual_size, address, _, raw = next(s for s in sections if s[1] <= table < s[1] + s[0])
size = struct.unpack_from("<I", data, raw + table - address)[0]
# Entry 10 of the data directory, which starts 112 bytes into PE32+'s optional header.
struct.pack_into("<II", data, optional + 112 + 8 * 10, table, size)
open(path, "wb").write(data)
