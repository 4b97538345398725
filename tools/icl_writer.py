"""Writes 16-bit Windows icon libraries (".icl"): NE resource-only modules holding
RT_ICON pictures and the RT_GROUP_ICON directories that gather them into icons.

Layout: MZ header with a DOS stub, NE header, an empty segment table, the resource
table, resident and non-resident name tables, an empty entry table, then the resources.
Resource offsets AND lengths count in units of 1 << shift bytes, so every resource
starts on such a boundary and is padded to a whole number of units. The shift is 3 when
the library fits (8-byte units hold 32-bit pictures of even sizes exactly, so readers
that compare a picture's resource length with its group entry find them equal), more
for larger libraries.

Group icons are written in the order programs number them: named groups first, sorted
by name without regard to case, then numeric ids ascending.

Pictures are 32-bit DIBs (BGRA, bottom-up) followed by their AND mask, as .ico files
hold them; `dib_from_rgba` makes one from a Pillow image.
"""

import struct

RT_ICON = 0x8003
RT_GROUP_ICON = 0x800E
FLAGS = 0x1030  # moveable, pure, discardable

DOS_STUB = (bytes([0x0E, 0x1F, 0xBA, 0x0E, 0x00, 0xB4, 0x09, 0xCD, 0x21, 0xB8, 0x01, 0x4C, 0xCD, 0x21])
            + b"This program requires Microsoft Windows.\r\n$")


def dib_from_rgba(image):
    """A 32-bit icon picture (BITMAPINFOHEADER, BGRA rows bottom-up, AND mask) of a
    Pillow RGBA image. Fully transparent pixels are set in the mask and kept black."""
    image = image.convert("RGBA")
    w, h = image.size
    px = image.load()
    colour = bytearray()
    mask = bytearray()
    mask_row = (w + 31) // 32 * 4
    for y in range(h - 1, -1, -1):
        row_mask = bytearray(mask_row)
        for x in range(w):
            r, g, b, a = px[x, y]
            if a == 0:
                r = g = b = 0
                row_mask[x // 8] |= 0x80 >> (x % 8)
            colour += bytes((b, g, r, a))
        mask += row_mask
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, 32, 0, len(colour) + len(mask), 0, 0, 0, 0)
    return header + bytes(colour) + bytes(mask)


def _group_directory(pictures, first_id):
    out = struct.pack("<HHH", 0, 1, len(pictures))
    for i, dib in enumerate(pictures):
        w, h2, _, bits = struct.unpack_from("<iiHH", dib, 4)
        out += struct.pack("<BBBBHHIH", w & 0xFF, (h2 // 2) & 0xFF, 0, 0, 1, bits, len(dib), first_id + i)
    return out


def _pascal(text):
    raw = text.encode("ascii")
    if len(raw) > 255:
        raise ValueError("name too long: %r" % text)
    return bytes([len(raw)]) + raw


def _ordered(icons):
    named = sorted((i for i in icons if isinstance(i[0], str)), key=lambda i: i[0].upper())
    numbered = sorted((i for i in icons if not isinstance(i[0], str)), key=lambda i: i[0])
    keys = [i[0].upper() if isinstance(i[0], str) else i[0] for i in icons]
    if len(set(keys)) != len(keys):
        raise ValueError("two icons with one name or id")
    return named + numbered


def write_icl(path, module, icons, description=""):
    """icons: list of (name or id, [dib, ...]); a name is a string, an id 1..32767."""
    for shift in range(3, 16):
        try:
            return _write(path, module, _ordered(icons), description, shift)
        except OverflowError:
            continue
    raise ValueError("library too large")


def _write(path, module, icons, description, shift):
    unit = 1 << shift

    pictures = []   # (id, dib) of every RT_ICON
    groups = []     # (name or id, group directory bytes)
    for key, dibs in icons:
        if not dibs:
            raise ValueError("icon %r has no picture" % (key,))
        groups.append((key, _group_directory(dibs, len(pictures) + 1)))
        pictures += [(len(pictures) + 1 + k, d) for k, d in enumerate(dibs)]

    ne_at = 0x80
    table_at = 0x40  # offsets below are relative to the NE header
    fixed = 2 + 8 + 12 * len(pictures) + 8 + 12 * len(groups) + 2
    names = bytearray()
    name_ids = []
    for key, _ in groups:
        if isinstance(key, str):
            name_ids.append(fixed + len(names))
            names += _pascal(key.upper())
        else:
            if not 0 < key < 0x8000:
                raise ValueError("id out of range: %r" % key)
            name_ids.append(0x8000 | key)
    names += b"\0"
    resident = _pascal(module.upper()) + b"\0\0" + b"\0"
    resident_at = table_at + fixed + len(names)
    modules_at = resident_at + len(resident)
    entry_at = modules_at + 1  # one byte of (empty) imported names
    nonresident = _pascal(description or module) + b"\0\0" + b"\0"
    nonresident_at = ne_at + entry_at + 2

    data_at = -(-(nonresident_at + len(nonresident)) // unit) * unit
    blobs = [d for _, d in pictures] + [g for _, g in groups]
    starts, at = [], data_at
    for blob in blobs:
        starts.append(at)
        at += -(-len(blob) // unit) * unit
    if at >> shift > 0xFFFF:
        raise OverflowError()

    def entry(index, ident):
        return struct.pack("<HHHHI", starts[index] >> shift, -(-len(blobs[index]) // unit), FLAGS, ident, 0)

    table = struct.pack("<H", shift)
    table += struct.pack("<HHI", RT_ICON, len(pictures), 0)
    table += b"".join(entry(i, 0x8000 | pid) for i, (pid, _) in enumerate(pictures))
    table += struct.pack("<HHI", RT_GROUP_ICON, len(groups), 0)
    table += b"".join(entry(len(pictures) + i, name_ids[i]) for i in range(len(groups)))
    table += b"\0\0" + bytes(names)

    ne = struct.pack("<2sBBHHIHHHHIIHHHHHHHHIHHHBBHHHH",
                     b"NE", 5, 10, entry_at, 2, 0, 0x8000, 0, 0, 0, 0, 0, 0, 0, len(nonresident),
                     table_at, table_at, resident_at, modules_at, modules_at, nonresident_at, 0,
                     shift, 0, 2, 0, 0, 0, 0, 0x030A)
    assert len(ne) == 0x40

    dos_size = 0x40 + len(DOS_STUB)
    mz = struct.pack("<2sHHHHHHHHHHHHH", b"MZ", dos_size % 512, -(-dos_size // 512), 0, 4, 0x10, 0xFFFF,
                     0, 0xB8, 0, 0, 0, 0x40, 0)
    mz += bytes(0x3C - len(mz)) + struct.pack("<I", ne_at)

    out = bytearray(mz + DOS_STUB)
    out += bytes(ne_at - len(out))
    out += ne + table + resident + b"\0" + b"\0\0" + nonresident
    assert len(out) == nonresident_at + len(nonresident)
    for start, blob in zip(starts, blobs):
        out += bytes(start - len(out)) + blob
    out += bytes(-len(out) % unit)
    with open(path, "wb") as f:
        f.write(out)
    return len(out)
