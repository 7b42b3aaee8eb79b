#!/usr/bin/env python3
"""Checks the shipped sound themes: names, WAV format, lengths, levels, loop seams, size, and that
the generator writes the same bytes on every run.

    sounds_check.py SOUND_DIR GENERATOR
"""
import math
import os
import re
import struct
import subprocess
import sys
import tempfile

THEMES = ("BkGround", "Error", "Yes", "No", "Suxx", "Laugh", "Pause", "Start", "Exit", "Loop")
LOOPED = ("Pause", "Loop")
MIN_FILES = 3
RATE = 22050
# Seconds each theme's files may last: errors must not drown fast typing, the program waits
# for the exit sound, and a loop shorter than a second turns into a drone.
DURATION_LIMITS = {
    "Error": (0.02, 0.150), "Yes": (0.1, 2.0), "No": (0.1, 2.0), "Suxx": (0.1, 2.0),
    "Laugh": (0.1, 2.0), "Start": (0.1, 2.0), "Exit": (0.1, 1.5), "BkGround": (5.0, 20.0),
    "Pause": (1.0, 20.0), "Loop": (1.0, 20.0),
}
PEAK_LIMIT_DB = -1.0
RMS_RANGE_DB = (-35.0, -10.0)  # quieter is inaudible beside the others, louder is a blast
THEME_RMS_SPREAD_DB = 6.0
EDGE_LIMIT = 0.01  # full scale; a file that starts or ends further from zero clicks
TOTAL_SIZE_LIMIT = 4_000_000


class WavError(Exception):
    pass


def read_pcm16_mono(path):
    """Samples of a canonical PCM 16-bit mono 22,050 Hz WAV file, or WavError saying what is wrong."""
    with open(path, "rb") as handle:
        data = handle.read()
    if len(data) < 12 or data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        raise WavError("not a RIFF WAVE file")
    if struct.unpack_from("<I", data, 4)[0] != len(data) - 8:
        raise WavError("RIFF size does not match the file size")
    chunks, offset = {}, 12
    while offset + 8 <= len(data):
        tag, size = struct.unpack_from("<4sI", data, offset)
        body = data[offset + 8:offset + 8 + size]
        if len(body) != size:
            raise WavError(f"chunk {tag!r} runs past the end of the file")
        chunks.setdefault(tag, body)
        offset += 8 + size + (size & 1)
    if b"fmt " not in chunks or b"data" not in chunks:
        raise WavError("missing fmt or data chunk")
    fmt = chunks[b"fmt "]
    if len(fmt) < 16:
        raise WavError("fmt chunk too short")
    tag, channels, rate, byte_rate, block_align, bits = struct.unpack_from("<HHIIHH", fmt)
    wanted = (1, 1, RATE, RATE * 2, 2, 16)
    if (tag, channels, rate, byte_rate, block_align, bits) != wanted:
        raise WavError(f"format {tag}, {channels} channel(s), {rate} Hz, {bits} bit, byte rate {byte_rate}, "
                       f"block {block_align}; wanted PCM (1), mono, {RATE} Hz, 16 bit")
    pcm = chunks[b"data"]
    if len(pcm) % 2 or not pcm:
        raise WavError(f"data chunk of {len(pcm)} bytes is not a whole number of 16-bit samples")
    return [value / 32768.0 for value in struct.unpack(f"<{len(pcm) // 2}h", pcm)]


def db(value):
    return 20.0 * math.log10(value) if value > 0.0 else -math.inf


def theme_files(names, theme):
    """Every name the program's case-insensitive '<Theme>_*.wav' pattern would pick up."""
    pattern = re.compile(re.escape(theme) + r"_.*\.wav", re.IGNORECASE | re.DOTALL)
    return sorted(name for name in names if pattern.fullmatch(name))


def all_theme_files(names):
    return {name for theme in THEMES for name in theme_files(names, theme)}


def check_seam(name, samples, problems):
    """The player repeats a loop from its last sample straight into its first."""
    first, last = samples[0], samples[-1]
    if abs(first) > EDGE_LIMIT or abs(last) > EDGE_LIMIT or abs(last - first) > EDGE_LIMIT:
        problems.append(f"{name}: loop seam jumps from {last:+.4f} to {first:+.4f} (limit {EDGE_LIMIT})")
        return
    # The two bends either side of the seam should be no sharper than any inside the loop.
    def bend(before, at, after):
        return abs(after - 2.0 * at + before)

    seam_bend = bend(last, first, samples[1]) + bend(samples[-2], last, first)
    inner_bend = max(bend(*samples[i - 1:i + 2]) for i in range(1, len(samples) - 1))
    if seam_bend > 2.0 * inner_bend + 1e-4:
        problems.append(f"{name}: loop seam bends by {seam_bend:.4f}, the loop itself at most {inner_bend:.4f}")


def check_file(theme, name, path, problems):
    """Checks one file; returns its RMS in dBFS, or None if it could not be read."""
    try:
        samples = read_pcm16_mono(path)
    except (OSError, WavError) as error:
        problems.append(f"{name}: {error}")
        return None
    seconds = len(samples) / RATE
    shortest, longest = DURATION_LIMITS[theme]
    if not shortest <= seconds <= longest:
        problems.append(f"{name}: lasts {seconds:.3f} s, outside {shortest}..{longest} s")
    peak = db(max(abs(x) for x in samples))
    if peak > PEAK_LIMIT_DB:
        problems.append(f"{name}: peak {peak:.2f} dBFS above {PEAK_LIMIT_DB} dBFS")
    rms = db(math.sqrt(math.fsum(x * x for x in samples) / len(samples)))
    if not RMS_RANGE_DB[0] <= rms <= RMS_RANGE_DB[1]:
        problems.append(f"{name}: RMS {rms:.1f} dBFS outside {RMS_RANGE_DB[0]}..{RMS_RANGE_DB[1]} dBFS")
    if theme in LOOPED:
        check_seam(name, samples, problems)
    elif abs(samples[0]) > EDGE_LIMIT or abs(samples[-1]) > EDGE_LIMIT:
        problems.append(f"{name}: starts at {samples[0]:+.4f} and ends at {samples[-1]:+.4f}; it will click")
    print(f"  {name:<16} {seconds:6.3f} s  peak {peak:6.1f} dBFS  RMS {rms:6.1f} dBFS")
    return rms


def check_directory(directory, problems):
    """Checks every theme; returns the total size of the theme files."""
    theme_rms, total = {}, 0
    for theme in THEMES:
        names = theme_files(os.listdir(directory), theme)
        levels = []
        for name in names:
            if not re.fullmatch(re.escape(theme) + r"_(0[1-9]|[1-9]\d)\.wav", name):
                problems.append(f"{name}: the theme '{theme}' wants names like {theme}_01.wav")
                continue
            path = os.path.join(directory, name)
            total += os.path.getsize(path)
            rms = check_file(theme, name, path, problems)
            if rms is not None:
                levels.append(rms)
        if len(names) < MIN_FILES:
            problems.append(f"theme {theme}: {len(names)} file(s), at least {MIN_FILES} wanted")
        if levels:
            theme_rms[theme] = sum(levels) / len(levels)
    if theme_rms:
        loudest = max(theme_rms, key=theme_rms.get)
        quietest = min(theme_rms, key=theme_rms.get)
        if theme_rms[loudest] - theme_rms[quietest] > THEME_RMS_SPREAD_DB:
            problems.append(f"theme {loudest} ({theme_rms[loudest]:.1f} dBFS RMS) is more than "
                            f"{THEME_RMS_SPREAD_DB} dB louder than {quietest} ({theme_rms[quietest]:.1f})")
    if total >= TOTAL_SIZE_LIMIT:
        problems.append(f"the sounds take {total} bytes, the limit is {TOTAL_SIZE_LIMIT}")
    return total


def run_generator(generator, directory, problems):
    result = subprocess.run([sys.executable, generator, directory], capture_output=True, text=True)
    if result.returncode != 0:
        problems.append(f"the generator failed ({result.returncode}): {result.stderr.strip()}")
        return None
    return {name: open(os.path.join(directory, name), "rb").read() for name in os.listdir(directory)}


def check_reproducible(generator, shipped_directory, problems):
    with tempfile.TemporaryDirectory() as first, tempfile.TemporaryDirectory() as second:
        # The generator must create its output directory itself.
        one = run_generator(generator, os.path.join(first, "Sound"), problems)
        two = run_generator(generator, os.path.join(second, "Sound"), problems)
    if one is None or two is None:
        return
    if one.keys() != two.keys():
        problems.append(f"two generator runs wrote different files: {sorted(one.keys() ^ two.keys())}")
    differing = sorted(name for name in one.keys() & two.keys() if one[name] != two[name])
    if differing:
        problems.append(f"two generator runs wrote different bytes in {', '.join(differing)}")
    shipped = all_theme_files(os.listdir(shipped_directory))
    generated = all_theme_files(one)
    if shipped != generated:
        problems.append(f"{shipped_directory} holds other theme files than the generator writes: "
                        f"{sorted(shipped ^ generated)}")


def main(argv):
    if len(argv) != 3:
        print("usage: sounds_check.py SOUND_DIR GENERATOR", file=sys.stderr)
        return 2
    directory, generator = argv[1], argv[2]
    problems = []
    if not os.path.isdir(directory):
        print(f"FAIL: {directory} is not a directory")
        return 1
    total = check_directory(directory, problems)
    print(f"total size {total} bytes")
    check_reproducible(generator, directory, problems)
    for problem in problems:
        print(f"FAIL: {problem}")
    if not problems:
        print("sounds OK")
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
