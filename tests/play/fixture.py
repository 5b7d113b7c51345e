#!/usr/bin/python3
"""Writes a small FMF map (and optionally a stage text file) from a picture of the map in characters.

usage: fixture.py OUT.fmf [OUT.txt LINE...] < map.txt

Each line of the picture is one row; every character is one cell (legend below). Rows shorter than the
longest are padded with empty cells.
"""
import struct
import sys

LEGEND = {
    '.': 0, 'S': 1, 'G': 2, '#': 3, 's': 4, 'p': 5, '<': 16, '>': 17, '^': 18, 'v': 19,
    't': 20, 'r': 84, 'L': 90, 'k': 93, 'T': 96, '1': 176, '2': 177, 'B': 180, 'b': 184,
    'X': 188, 'o': 189, 'i': 190, 'I': 191,
}


def fmf_bytes(rows):
    width = max(len(r) for r in rows)
    height = len(rows)
    cells = bytearray()
    for row in rows:
        for ch in row.ljust(width, '.'):
            cells.append(LEGEND[ch])
    header = b'FMF_' + struct.pack('<iii', len(cells), width, height) + bytes([32, 32, 1, 8])
    return header + bytes(cells)


def main():
    rows = [line.rstrip('\n') for line in sys.stdin if line.strip()]
    with open(sys.argv[1], 'wb') as f:
        f.write(fmf_bytes(rows))
    if len(sys.argv) > 2:
        text = '\r\n'.join(sys.argv[3:]) + '\r\n'
        with open(sys.argv[2], 'wb') as f:
            f.write(b'\xff\xfe' + text.encode('utf-16-le'))


if __name__ == '__main__':
    main()
