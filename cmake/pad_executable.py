#!/usr/bin/env python3
"""Ends an executable where a signature would begin, so that removing a signature gives it back.

Usage: pad_executable.py EXE

A signature is a certificate table appended to the file at an offset that is a multiple of eight; a
signing tool pads the file with zero bytes up to there, and removing the signature keeps that padding
and writes the image checksum of what is left. The executable is given both here, in place: zero bytes
up to the next multiple of eight (after the section name strings, which no reader takes for more than
their stated length) and the checksum of the padded file. A signed copy with its signature removed is
then this file, byte for byte. Run after the last change to the file.
"""
import struct
import sys

CHECKSUM_OFFSET = 64  # in the optional header, the same for PE32 and PE32+


def checksum(data, field):
    """The PE image checksum: 16-bit words added with their carries folded back, then the file's length."""
    words = bytearray(data[:field] + b"\0\0\0\0" + data[field + 4:])
    if len(words) % 2:
        words.append(0)
    total = sum(struct.unpack("<%dH" % (len(words) // 2), words))
    while total >> 16:
        total = (total & 0xFFFF) + (total >> 16)
    return (total + len(data)) & 0xFFFFFFFF


def main(path):
    with open(path, "r+b") as fh:
        data = fh.read()
        if data[:2] != b"MZ":
            sys.exit("%s: no executable" % path)
        data += b"\0" * (-len(data) % 8)
        field = struct.unpack_from("<I", data, 0x3C)[0] + 24 + CHECKSUM_OFFSET
        data = data[:field] + struct.pack("<I", checksum(data, field)) + data[field + 4:]
        fh.seek(0)
        fh.write(data)


if __name__ == "__main__":
    main(sys.argv[1])
