#!/usr/bin/env python3
"""Times dactyla-text as a whole process against `wc -l` on the same cached 16 MiB text.

The text is a real hard-wrapped book: the shipped Russian sentences in paragraphs of six,
wrapped at 70 columns, repeated to 16 MiB (as bench/corpus_bench.cpp makes it). Prints the
median of each command over the runs and its ratio to `wc -l`.

    bench/process_compare.py [BIN_DIR] [RUNS]     (defaults: build/native/bin, 21)
"""
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SIZE = 16 << 20


def wrapped_text(shipped: bytes) -> bytes:
    sentences = [s for s in shipped.split(b"\r\n") if s]
    out, line, in_paragraph, k = bytearray(), b"", 0, 0
    while len(out) < SIZE:
        for word in sentences[k % len(sentences)].split(b" "):
            if line and len(line) + 1 + len(word) > 70:
                out += line + b"\r\n"
                line = b""
            line = line + b" " + word if line else word
        k += 1
        in_paragraph += 1
        if in_paragraph == 6:
            out += line + b"\r\n\r\n"
            line, in_paragraph = b"", 0
    return bytes(out[:SIZE])


def median_ms(command, runs, prepare=None):
    """Median CPU and wall milliseconds of `command` as a whole process."""
    cpu, wall = [], []
    for _ in range(runs):
        if prepare:
            prepare()
        start = time.perf_counter()
        child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        _, status, usage = os.wait4(child.pid, 0)
        wall.append((time.perf_counter() - start) * 1000)
        child.returncode = os.waitstatus_to_exitcode(status)
        if child.returncode != 0:
            raise subprocess.CalledProcessError(child.returncode, command)
        cpu.append((usage.ru_utime + usage.ru_stime) * 1000)
    return statistics.median(cpu), statistics.median(wall)


def main():
    bin_dir = sys.argv[1] if len(sys.argv) > 1 else "build/native/bin"
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 21
    tool = os.path.join(bin_dir, "dactyla-text")
    with open(os.path.join(bin_dir, "TextData.Rus"), "rb") as shipped:
        text = wrapped_text(shipped.read())
    scratch = tempfile.mkdtemp(prefix="dactyla-compare-")
    try:
        book = os.path.join(scratch, "book.txt")
        with open(book, "wb") as out:
            out.write(text)
        program = os.path.join(scratch, "program")
        os.makedirs(os.path.join(program, "Users", "Bench"))
        shutil.copy(book, os.path.join(program, "TextData.Rus"))
        index = os.path.join(program, "Users", "Bench", "random.rus")

        def drop_index():
            if os.path.exists(index):
                os.remove(index)

        env_tmp = os.path.join(scratch, "tmp")
        os.makedirs(env_tmp)
        os.environ["TMPDIR"] = env_tmp
        subprocess.run(["cat", book], stdout=subprocess.DEVNULL, check=True)  # into the cache
        commands = [
            ("wc -l", ["wc", "-l", book], None),
            ("dactyla-text check --limit 0 (read and scan)", [tool, "check", book, "--limit", "0"], None),
            ("dactyla-text index, full rebuild", [tool, "index", program, "Bench", "--lang", "ru"], drop_index),
            ("dactyla-text import --out (import scan)",
             [tool, "import", book, "--lang", "ru", "--out", os.path.join(scratch, "out.txt")], None),
        ]
        baseline = None
        print(f"16 MiB hard-wrapped text, median of {runs} runs, whole processes")
        print(f"  {'':48s} {'CPU ms':>7s} {'wall ms':>8s}   ratio to wc -l (CPU, wall)")
        for name, command, prepare in commands:
            cpu, wall = median_ms(command, runs, prepare)
            baseline = baseline or (cpu, wall)
            print(f"  {name:48s} {cpu:7.1f} {wall:8.1f}   {cpu / baseline[0]:4.1f}x {wall / baseline[1]:4.1f}x")
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
