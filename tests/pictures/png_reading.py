"""Reads 8-bit RGB and RGBA PNG files with the standard library alone, so
that pictures are checked by a decoder that is not the encoder."""

import struct
import zlib


class Picture:
    def __init__(self, width, height, rows):
        self.width = width
        self.height = height
        self.rows = rows  # one bytes object per row, 3 bytes per pixel

    def at(self, column, row):
        start = column * 3
        return tuple(self.rows[row][start:start + 3])


def _paeth(left, up, up_left):
    estimate = left + up - up_left
    distances = (abs(estimate - left), abs(estimate - up), abs(estimate - up_left))
    if distances[0] <= distances[1] and distances[0] <= distances[2]:
        return left
    return up if distances[1] <= distances[2] else up_left


def read_png(path):
    with open(path, "rb") as file:
        data = file.read()
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError(f"{path}: not a PNG file")
    at, header, compressed = 8, None, b""
    while at < len(data):
        length, kind = struct.unpack(">I4s", data[at:at + 8])
        body = data[at + 8:at + 8 + length]
        if zlib.crc32(kind + body) != struct.unpack(">I", data[at + 8 + length:at + 12 + length])[0]:
            raise ValueError(f"{path}: bad checksum in chunk {kind!r}")
        if kind == b"IHDR":
            header = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            compressed += body
        elif kind == b"IEND":
            break
        at += 12 + length
    width, height, depth, colour_type, _, _, interlace = header
    if depth != 8 or colour_type not in (2, 6) or interlace != 0:
        raise ValueError(f"{path}: only 8-bit RGB or RGBA without interlacing is read")
    channels = 3 if colour_type == 2 else 4
    raw = zlib.decompress(compressed)
    stride = width * channels
    rows, previous = [], bytearray(stride)
    for row in range(height):
        start = row * (stride + 1)
        kind, line = raw[start], bytearray(raw[start + 1:start + 1 + stride])
        for index in range(stride):
            left = line[index - channels] if index >= channels else 0
            up = previous[index]
            up_left = previous[index - channels] if index >= channels else 0
            predictor = (0, left, up, (left + up) // 2, _paeth(left, up, up_left))[kind]
            line[index] = (line[index] + predictor) & 0xFF
        previous = line
        if channels == 4:
            line = bytearray(b for index, b in enumerate(line) if index % 4 != 3)
        rows.append(bytes(line))
    return Picture(width, height, rows)


def near(colour, expected, tolerance):
    return all(abs(a - b) <= tolerance for a, b in zip(colour, expected))


def count_near(picture, expected, tolerance):
    return sum(1 for row in range(picture.height) for column in range(picture.width)
               if near(picture.at(column, row), expected, tolerance))


def differences(first, second):
    """The mean absolute channel difference, and the share of pixels that
    differ by more than 24 in a channel."""
    total, changed = 0, 0
    for row in range(first.height):
        a, b = first.rows[row], second.rows[row]
        for index in range(0, len(a), 3):
            step = [abs(a[index + k] - b[index + k]) for k in range(3)]
            total += sum(step)
            changed += max(step) > 24
    pixels = first.width * first.height
    return total / (pixels * 3), changed / pixels
