#!/usr/bin/env python3
"""Compares two 16-bit PCM WAV files: byte-identical, or how far apart.

Prints the signal-to-difference ratio in dB (signal = the first file) and
where the samples first differ. Exit status 0 when the files are identical or
the ratio reaches --min-db, 1 otherwise, 2 on unreadable input.
"""
import argparse
import array
import math
import struct
import sys


def read_wav(path):
    with open(path, "rb") as f:
        data = f.read()
    if len(data) < 12 or data[0:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise ValueError(f"{path}: not a RIFF WAVE file")
    fmt = None
    samples = None
    at = 12
    while at + 8 <= len(data):
        chunk, size = struct.unpack_from("<4sI", data, at)
        body = data[at + 8:at + 8 + size]
        if chunk == b"fmt ":
            fmt = struct.unpack_from("<HHIIHH", body, 0)
        elif chunk == b"data":
            samples = array.array("h")
            samples.frombytes(body[:len(body) // 2 * 2])
            if sys.byteorder != "little":
                samples.byteswap()
        at += 8 + size + (size & 1)
    if fmt is None or samples is None:
        raise ValueError(f"{path}: no fmt or data chunk")
    if fmt[0] != 1 or fmt[5] != 16:
        raise ValueError(f"{path}: not 16-bit PCM")
    return fmt, samples


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("reference")
    parser.add_argument("other")
    parser.add_argument("--min-db", type=float, default=60.0)
    args = parser.parse_args()
    try:
        fmt_a, a = read_wav(args.reference)
        fmt_b, b = read_wav(args.other)
    except (OSError, ValueError) as error:
        print(error)
        return 2
    channels, rate = fmt_a[1], fmt_a[2]
    if fmt_a != fmt_b:
        print(f"formats differ: {fmt_a} / {fmt_b}")
        return 1
    if len(a) != len(b):
        print(f"lengths differ: {len(a)} / {len(b)} samples")
        return 1
    if a == b:
        print(f"identical: {len(a) // channels} frames ({len(a) / channels / rate:.2f} s)")
        return 0
    signal = 0
    noise = 0
    first = -1
    count = 0
    largest = 0
    for i, (x, y) in enumerate(zip(a, b)):
        signal += x * x
        if x != y:
            d = x - y
            noise += d * d
            count += 1
            largest = max(largest, abs(d))
            if first < 0:
                first = i
    db = 10 * math.log10(signal / noise) if signal > 0 else float("-inf")
    frame = first // channels
    print(f"differ: {db:.1f} dB signal-to-difference; {count} of {len(a)} samples differ, "
          f"by at most {largest}; first at frame {frame} ({frame / rate:.3f} s)")
    return 0 if db >= args.min_db else 1


if __name__ == "__main__":
    sys.exit(main())
