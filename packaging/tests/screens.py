"""Screenshots as pixel grids, read with the standard library only.

read_png: 8-bit RGB or RGBA, not interlaced (what weston writes).
read_xwd: 32-bit TrueColor dumps (what xwd writes from Xvfb).
Both return an object with width, height and rgb(x, y). Rows are decoded
when first asked for, so a check near the top of a large screen stays quick.
"""

import struct
import zlib


def _paeth(a, b, c):
    p = a + b - c
    pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
    if pa <= pb and pa <= pc:
        return a
    return b if pb <= pc else c


class PngPicture:
    def __init__(self, path):
        with open(path, "rb") as f:
            data = f.read()
        if data[:8] != b"\x89PNG\r\n\x1a\n":
            raise ValueError(f"{path} is not a PNG")
        pos, idat, header = 8, bytearray(), None
        while pos < len(data):
            length, kind = struct.unpack(">I4s", data[pos:pos + 8])
            body = data[pos + 8:pos + 8 + length]
            if kind == b"IHDR":
                header = struct.unpack(">IIBBBBB", body)
            elif kind == b"IDAT":
                idat += body
            pos += 12 + length
        self.width, self.height, depth, colour, _, _, interlace = header
        self._channels = {2: 3, 6: 4}.get(colour)
        if depth != 8 or self._channels is None or interlace:
            raise ValueError(f"{path}: only 8-bit RGB/RGBA without interlacing is read")
        self._raw = zlib.decompress(bytes(idat))
        self._rows = []

    def _row(self, y):
        c = self._channels
        stride = self.width * c
        while len(self._rows) <= y:
            n = len(self._rows)
            previous = self._rows[-1] if self._rows else bytearray(stride)
            start = n * (stride + 1)
            kind, line = self._raw[start], bytearray(self._raw[start + 1:start + 1 + stride])
            for i in range(stride):
                left = line[i - c] if i >= c else 0
                if kind == 1:
                    line[i] = (line[i] + left) & 0xFF
                elif kind == 2:
                    line[i] = (line[i] + previous[i]) & 0xFF
                elif kind == 3:
                    line[i] = (line[i] + (left + previous[i]) // 2) & 0xFF
                elif kind == 4:
                    corner = previous[i - c] if i >= c else 0
                    line[i] = (line[i] + _paeth(left, previous[i], corner)) & 0xFF
            self._rows.append(line)
        return self._rows[y]

    def rgb(self, x, y):
        c = self._channels
        return tuple(self._row(y)[x * c:x * c + 3])


class XwdPicture:
    def __init__(self, path):
        with open(path, "rb") as f:
            self._data = f.read()
        fields = struct.unpack(">25I", self._data[:100])
        header_size, version = fields[0], fields[1]
        self.width, self.height = fields[4], fields[5]
        byte_order, bits_per_pixel, self._stride = fields[7], fields[11], fields[12]
        if version != 7 or bits_per_pixel != 32:
            raise ValueError(f"{path}: only 32-bit XWD dumps are read")
        self._start = header_size + 12 * fields[19]
        self._order = "<I" if byte_order == 0 else ">I"
        self._masks = fields[14:17]
        self._shifts = [(m & -m).bit_length() - 1 for m in self._masks]

    def rgb(self, x, y):
        (p,) = struct.unpack_from(self._order, self._data, self._start + y * self._stride + 4 * x)
        return tuple((p & m) >> s for m, s in zip(self._masks, self._shifts))


read_png = PngPicture
read_xwd = XwdPicture
