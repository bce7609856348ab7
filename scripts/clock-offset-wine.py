#!/usr/bin/env python3
"""The song clock against the sound on the DirectSound backend under Wine.

Run by scripts/measure-clock-offset.sh --wine inside a Wine environment with
a PulseAudio null sink (scripts/wine-env.sh). Records the sink's monitor with
parec, timestamping every piece as it arrives on the host's monotonic clock,
runs the probe (which logs when the heard ticks moved on, on the performance
counter: the same clock under Wine, checked below), then sets each tick's
move against the moment its first frame was played.

A loaded machine makes Wine's mixer fall behind and the sink play silence
between the song's pieces, so each tick is found in the recording by its
first frames, as the Linux build renders them (REFERENCE.wav), searched
onwards from where the previous tick was found. The sink plays in real time
on the host's clock: a frame of the recording plays at its index over the
rate after the recording's start, which the earliest-arriving piece fixes.

Usage: clock-offset-wine.py PROBE.exe SONG SECONDS REFERENCE.wav
"""
import os
import struct
import subprocess
import sys
import tempfile
import threading
import time
import wave

RATE = 44100


def now():
    return time.clock_gettime(time.CLOCK_MONOTONIC_RAW)


def percentiles(values):
    values = sorted(values)
    at = lambda p: 1000 * values[int(p * (len(values) - 1))]
    mean = 1000 * sum(values) / len(values)
    return (f"{len(values):5d}  mean {mean:+6.1f}  median {at(0.5):+6.1f}  "
            f"5%..95% {at(0.05):+6.1f}..{at(0.95):+6.1f}  min {at(0):+6.1f}  max {at(1):+6.1f} ms")


def main():
    probe, song, seconds, reference_path = sys.argv[1:5]
    with wave.open(reference_path, "rb") as reference_file:
        reference = reference_file.readframes(reference_file.getnframes())
    recorder = subprocess.Popen(
        ["parec", "-d", "kyl_null.monitor", "--format=s16le", f"--rate={RATE}",
         "--channels=2", "--latency-msec=2", "--raw"], stdout=subprocess.PIPE)
    pieces = []  # (arrival, bytes so far)
    data = bytearray()

    def record():
        fd = recorder.stdout.fileno()
        while True:
            chunk = os.read(fd, 4096)
            t = now()
            if not chunk:
                return
            data.extend(chunk)
            pieces.append((t, len(data)))

    reader = threading.Thread(target=record)
    reader.start()
    time.sleep(0.5)
    log = tempfile.NamedTemporaryFile(suffix=".log", delete=False).name
    winlog = subprocess.run(["winepath", "-w", log], capture_output=True, text=True).stdout.strip()
    run = subprocess.Popen(["wine", probe, song, seconds, winlog], stdout=subprocess.PIPE,
                           stderr=subprocess.DEVNULL, text=True)
    skew = None
    for line in run.stdout:
        if line.startswith("counter "):
            skew = now() - float(line.split()[1])
    run.wait()
    time.sleep(0.3)
    recorder.terminate()
    reader.join()
    fields = {}
    moves = []
    for line in open(log):
        parts = line.split()
        if parts[0] == "tick":
            moves.append((float(parts[1]), int(parts[2])))
        else:
            fields[parts[0]] = parts[1]
    os.unlink(log)
    if skew is None or abs(skew) > 0.05:
        sys.exit(f"the probe's counter is not the host's monotonic clock (skew {skew})")
    spt = int(fields["samplesPerTick"])
    recording = bytes(data)
    # Nominal play time of frame 0 of the recording.
    origin = min(t - total / 4 / RATE for t, total in pieces)
    played_at = lambda frame: origin + frame / RATE
    print(f"audio driver {fields['driver']}, {spt} frames per tick, counter skew "
          f"{skew * 1000:+.1f} ms, {len(recording) // 4} frames recorded")

    snippet_bytes = 4 * 32
    found_at = 0
    ticks, steps, missing = [], [], 0
    ticks_per_step = int(fields["ticksPerStep"])
    for (t0, k0), (t, k) in zip(moves, moves[1:]):
        if k != k0 + 1:
            continue
        begin = 4 * spt * k
        snippet = reference[begin:begin + snippet_bytes]
        if len(snippet) < snippet_bytes or not any(snippet):
            continue
        # Music repeats itself: once the song is found, look no further than
        # a second of gaps ahead.
        limit = found_at + 4 * (2 * spt + RATE) if found_at else len(recording)
        at = recording.find(snippet, found_at, limit)
        while at >= 0 and at % 4:
            at = recording.find(snippet, at + 1, limit)
        if at < 0:
            missing += 1
            continue
        found_at = at + 4
        offset = t - played_at(at // 4)
        ticks.append(offset)
        if k % ticks_per_step == 0:
            steps.append(offset)
    if missing:
        print(f"{missing} ticks not found in the recording")
    print("clock minus sound (positive: the picture is late)")
    if ticks:
        print("every tick, when the clock moves:     ", percentiles(ticks))
    if steps:
        print("new order step, when the clock moves: ", percentiles(steps))


main()
