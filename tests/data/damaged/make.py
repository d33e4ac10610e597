#!/usr/bin/env python3
"""Writes the damaged and lying picture files of this folder from the published formats (PNG
chunks with their CRC-32, a zlib stream, the raw float header, the OpenEXR header, offset table
and chunks, JPEG markers, GIF blocks), so that each fault is exactly the one named. expected.json says what the host must answer to each. Run from this folder."""
import random
import struct
import zlib

random.seed(7)


def chunk(kind, data, crc=None):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", crc if crc is not None else zlib.crc32(body))


def png(width, height, idat, ihdr_extra=(8, 6, 0, 0, 0), crc=None):
    ihdr = struct.pack(">II5B", width, height, *ihdr_extra)
    return (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", idat, crc) +
            chunk(b"IEND", b""))


def noise_rows(width, height):
    # Filter byte 0 and random RGBA samples, so that the stream does not compress away.
    return b"".join(b"\0" + bytes(random.randrange(256) for _ in range(width * 4))
                    for _ in range(height))


good = zlib.compress(noise_rows(32, 32))
whole = png(32, 32, good)
open("good_32.png", "wb").write(whole)
# The same PNG under the name of OpenEXR: only the format a name says is read.
open("png.exr", "wb").write(whole)
open("good_16.png", "wb").write(png(16, 16, zlib.compress(noise_rows(16, 16))))
# Cut in the middle of the pixel data.
open("truncated.png", "wb").write(whole[: len(whole) // 2])
# The compressed stream damaged, its CRC made right again so that only zlib sees the fault.
damaged = bytearray(good)
for i in range(40, 80):
    damaged[i] ^= 0x5A
open("bad_deflate.png", "wb").write(png(32, 32, bytes(damaged)))
# Right data under a wrong CRC.
open("bad_crc.png", "wb").write(png(32, 32, good, crc=0x12345678))
# Headers that claim far more pixels than the file could ever hold.
tiny = zlib.compress(b"\0\0\0\0\0")
open("lying_30000.png", "wb").write(png(30000, 30000, tiny))
open("lying_1000000.png", "wb").write(png(1000000, 1000000, tiny))
# A text chunk whose length claims far more bytes than follow it.
lying_text = png(32, 32, good)
lying_text = (lying_text[:33] + struct.pack(">I", 1694498974) + b"tEXt" + b"Comment\0short" +
              lying_text[33:])
open("lying_text.png", "wb").write(lying_text)
open("not_a_picture.png", "wb").write(b"this is a text file with a picture's name\n")
open("empty.png", "wb").write(b"")
# Raw float: a header for 4 x 4 pixels (256 bytes of floats) followed by 10 bytes.
open("short.rgbaf", "wb").write(b"PLURION-RGBAF 4 4\n" + bytes(10))
open("huge.rgbaf", "wb").write(b"PLURION-RGBAF 60000 60000\n" + bytes(16))


def attribute(name, kind, data):
    return name + b"\0" + kind + b"\0" + struct.pack("<i", len(data)) + data


def exr_start(width, height, compression=0):
    """The magic number, version and header of a scan-line OpenEXR file of 32-bit float A, B, G,
    R channels; compression 0 is none, 3 is ZIP (16 scan lines a chunk)."""
    channels = b"".join(name + b"\0" + struct.pack("<iB3xii", 2, 0, 1, 1) for name in (b"A", b"B", b"G", b"R"))
    window = struct.pack("<iiii", 0, 0, width - 1, height - 1)
    header = (attribute(b"channels", b"chlist", channels + b"\0") +
              attribute(b"compression", b"compression", bytes([compression])) +
              attribute(b"dataWindow", b"box2i", window) +
              attribute(b"displayWindow", b"box2i", window) +
              attribute(b"lineOrder", b"lineOrder", b"\0") +
              attribute(b"pixelAspectRatio", b"float", struct.pack("<f", 1.0)) +
              attribute(b"screenWindowCenter", b"v2f", struct.pack("<ff", 0, 0)) +
              attribute(b"screenWindowWidth", b"float", struct.pack("<f", 1.0)) + b"\0")
    return struct.pack("<ii", 20000630, 2) + header


def exr(width, height):
    """An uncompressed scan-line OpenEXR file with random pixels."""
    start = exr_start(width, height)
    line_bytes = width * 4 * 4
    first = len(start) + 8 * height
    offsets = b"".join(struct.pack("<Q", first + y * (8 + line_bytes)) for y in range(height))
    lines = b"".join(struct.pack("<ii", y, line_bytes) +
                     struct.pack("<%df" % (width * 4), *[random.random() for _ in range(width * 4)])
                     for y in range(height))
    return start + offsets + lines


whole = exr(16, 16)
open("good_16.exr", "wb").write(whole)
open("truncated.exr", "wb").write(whole[: len(whole) * 2 // 3])
# Whole in size, but the fourth scan line's chunk gives a wrong length for its pixel data.
damaged = bytearray(whole)
table = len(exr_start(16, 16))
fourth = struct.unpack_from("<Q", damaged, table + 8 * 3)[0]
struct.pack_into("<i", damaged, fourth + 4, 0x7FFFFFF0)
open("bad_chunk.exr", "wb").write(bytes(damaged))
# Headers that claim far more than the file holds: without compression every pixel byte must be
# there; with ZIP there must still be an 8-byte offset and an 8-byte chunk header for each chunk
# of 16 scan lines.
open("lying_wide.exr", "wb").write(exr_start(33554448, 16) + bytes(8 * 16))
open("lying_zip.exr", "wb").write(exr_start(20000, 20000, compression=3) + bytes(8 * 1250))


def marker(code, data):
    return b"\xff" + bytes([code]) + struct.pack(">H", len(data) + 2) + data


def jpeg_header(width, height):
    """A baseline grey JPEG up to its first scan: quantisation table, frame header, one Huffman
    table for DC and one for AC (each a single one-bit code for symbol 0) and the scan header."""
    quantisation = marker(0xDB, b"\x00" + bytes([1] * 64))
    frame = marker(0xC0, struct.pack(">BHHB", 8, height, width, 1) + b"\x01\x11\x00")
    one_code = bytes([1] + [0] * 15) + b"\x00"
    huffman = marker(0xC4, b"\x00" + one_code + b"\x10" + one_code)
    scan = marker(0xDA, b"\x01\x01\x00\x00\x3f\x00")
    return b"\xff\xd8" + quantisation + frame + huffman + scan


# Every 8 x 8 block costs at least one bit, so 25600 x 25600 pixels need 1280000 bytes.
open("lying.jpg", "wb").write(jpeg_header(25600, 25600) + b"\x00\xff\xd9")


# A GIF of a 30000 x 30000 screen and one 1 x 1 picture: a byte of LZW data fills at most
# 4096 / 1.5 pixels, so that screen needs 329550 bytes.
screen = struct.pack("<HHBBB", 30000, 30000, 0x80, 0, 0) + b"\x00\x00\x00\xff\xff\xff"
picture = b"\x2c" + struct.pack("<HHHHB", 0, 0, 1, 1, 0) + b"\x02\x02\x4c\x01\x00"
open("lying.gif", "wb").write(b"GIF89a" + screen + picture + b"\x3b")
# The same under another format's name: a GIF is known by its signature.
open("lying_gif.tif", "wb").write(b"GIF89a" + screen + picture + b"\x3b")
