#!/usr/bin/env python3
"""Converts the Windows programs' window pictures (24-bit .bmp files, as the Win32 windows
save them in VANDREL_SCREENSHOTS) to .png files beside them, so they can be looked at.

    scripts/wine/bmp-to-png.py FOLDER_OR_FILE...
"""
import pathlib
import struct
import sys
import zlib


def bmp_to_png(source: pathlib.Path) -> pathlib.Path:
    data = source.read_bytes()
    if data[:2] != b"BM":
        raise ValueError(f"{source}: not a .bmp file")
    offset = struct.unpack_from("<I", data, 10)[0]
    width, height, _planes, bits = struct.unpack_from("<iiHH", data, 18)
    if bits != 24:
        raise ValueError(f"{source}: {bits}-bit pictures are not converted, only 24-bit ones")
    stride = (width * 3 + 3) // 4 * 4
    rows = []
    for y in range(abs(height)):
        row = y if height < 0 else abs(height) - 1 - y  # bottom-up unless the height is negative
        start = offset + row * stride
        bgr = data[start:start + width * 3]
        rgb = bytearray(len(bgr))
        rgb[0::3], rgb[1::3], rgb[2::3] = bgr[2::3], bgr[1::3], bgr[0::3]
        rows.append(b"\x00" + bytes(rgb))

    def chunk(kind: bytes, body: bytes) -> bytes:
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    header = struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0)
    target = source.with_suffix(".png")
    target.write_bytes(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", header) +
                       chunk(b"IDAT", zlib.compress(b"".join(rows), 9)) + chunk(b"IEND", b""))
    return target


def main() -> int:
    if len(sys.argv) < 2:
        print(__doc__.strip(), file=sys.stderr)
        return 2
    for name in sys.argv[1:]:
        path = pathlib.Path(name)
        for source in sorted(path.glob("*.bmp")) if path.is_dir() else [path]:
            print(bmp_to_png(source))
    return 0


if __name__ == "__main__":
    sys.exit(main())
