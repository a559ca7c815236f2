# SPDX-License-Identifier: GPL-3.0-or-later
"""Fills two entries of a PE32+ file's data directory that GNU ld (up to 2.40
at least) leaves empty: the load configuration (entry 10), pointed at the
_load_config_used table, and the delay-import descriptors (entry 13), which
dlltool's delay-loading libraries put side by side in .text$2 and
resources/system-dlls.cpp ends with an empty one. Windows needs neither
entry to delay-load; it reads the first at start, and tools that list a
program's DLLs read the second. The file must still have its symbol table.
With --show, prints what packaging/check-windows-zip.sh checks and objdump
does not decode: the load flags, the binary version block's file and product
versions, then the version information's text.
  pe-directories.py [--show] PROGRAM.exe"""
import struct
import sys

DESCRIPTOR = 32  # bytes of an IMAGE_DELAYLOAD_DESCRIPTOR


class Image:
    def __init__(self, path):
        self.path, self.data = path, bytearray(open(path, "rb").read())
        self.header = struct.unpack_from("<I", self.data, 0x3C)[0]
        count, optional_size = struct.unpack_from("<2xH12xH", self.data, self.header + 4)
        optional = self.header + 24
        if struct.unpack_from("<H", self.data, optional)[0] != 0x20B:
            sys.exit(f"{path}: not a PE32+ file")
        self.directory = optional + 112  # where PE32+'s data directory starts
        self.sections = [struct.unpack_from("<8xIIII", self.data, optional + optional_size + 40 * i)
                         for i in range(count)]

    def at(self, address):
        """The file offset of an address in the image (RVA)."""
        virtual_size, start, _, raw = next(s for s in self.sections if s[1] <= address < s[1] + s[0])
        return raw + address - start

    def symbols(self):
        """name -> address in the image of each symbol in a section."""
        symbols, count = struct.unpack_from("<II", self.data, self.header + 12)
        names = symbols + 18 * count  # the string table follows the symbols
        addresses, index = {}, 0
        while index < count:
            short, value, section, aux = struct.unpack_from("<8sIh3xB", self.data, symbols + 18 * index)
            if short[:4] == b"\0\0\0\0":
                start = names + struct.unpack_from("<I", short, 4)[0]
                short = self.data[start:self.data.index(b"\0", start)]
            if section > 0:
                addresses[bytes(short).rstrip(b"\0")] = self.sections[section - 1][1] + value
            index += 1 + aux
        return addresses


def fill(image):
    addresses = image.symbols()
    table = addresses.get(b"_load_config_used")
    if table is None:
        sys.exit(f"{image.path}: no _load_config_used symbol")
    size = struct.unpack_from("<I", image.data, image.at(table))[0]  # the table's first field
    struct.pack_into("<II", image.data, image.directory + 8 * 10, table, size)
    descriptors = sorted(a for n, a in addresses.items() if n.startswith(b"__DELAY_IMPORT_DESCRIPTOR_"))
    end = addresses.get(b"nihilist_delay_import_end")
    if descriptors:
        if end is None:
            sys.exit(f"{image.path}: no nihilist_delay_import_end after the delay-import descriptors")
        expected = list(range(descriptors[0], end, DESCRIPTOR))
        if descriptors != expected or any(image.data[image.at(end) : image.at(end) + DESCRIPTOR]):
            sys.exit(f"{image.path}: the delay-import descriptors are not one table ending in an empty entry")
        struct.pack_into("<II", image.data, image.directory + 8 * 13, descriptors[0], end + DESCRIPTOR - descriptors[0])
    open(image.path, "wb").write(image.data)


def show(image):
    data = image.data
    table, size = struct.unpack_from("<II", data, image.directory + 8 * 10)
    # DependentLoadFlags, bytes 78-79 of the load configuration table.
    flags = struct.unpack_from("<H", data, image.at(table) + 78)[0] if table and size >= 80 else 0
    print(f"{flags:#06x}")
    at = data.find(struct.pack("<I", 0xFEEF04BD))  # VS_FIXEDFILEINFO
    words = struct.unpack_from("<4I", data, at + 8) if at >= 0 else (0,) * 4
    print(" ".join("%d.%d.%d.%d" % (a >> 16, a & 0xFFFF, b >> 16, b & 0xFFFF) for a, b in (words[:2], words[2:])))
    # The strings are UTF-16, read from the block's start.
    start = data.find("VS_VER".encode("utf-16-le"))
    print(data[max(start, 0) : max(start, 0) + 2048].decode("utf-16-le", "ignore").replace("\0", ""))


if __name__ == "__main__":
    (show if sys.argv[1] == "--show" else fill)(Image(sys.argv[-1]))
