# SPDX-License-Identifier: GPL-3.0-or-later
"""Writes the page's fallback font to the file given: Liberation Serif cut to
Basic Latin, Latin-1, Cyrillic, dashes, quotes, the ellipsis and №, as WOFF2.
The subset keeps the font's copyright and licence (SIL Open Font Licence)
and, being a modified version, leaves the reserved name "Liberation"."""
import sys
from fontTools import subset
from fontTools.ttLib import TTFont

out = sys.argv[1]
subset.main(["/usr/share/fonts/truetype/liberation2/LiberationSerif-Regular.ttf",
             "--unicodes=U+0020-007E,U+00A0-00FF,U+0400-045F,U+2010-2026,U+2116", "--flavor=woff2",
             "--no-hinting", "--desubroutinize", "--layout-features=kern,liga", "--name-IDs=*",
             "--drop-tables+=FFTM", f"--output-file={out}"])
font = TTFont(out)
for record in font["name"].names:
    if record.nameID in (1, 3, 4, 6, 16):
        record.string = record.toUnicode().replace("Liberation", "Nihilist")
font.save(out)
