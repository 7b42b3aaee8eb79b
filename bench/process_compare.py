#!/usr/bin/env python3
"""Times dactyla-text as a whole process against `wc -l` on the same cached 16 MiB texts.

Two texts, both made from the shipped Russian sentences:
  book        a hard-wrapped book: paragraphs of six sentences wrapped at 70 columns (as
              bench/corpus_bench.cpp makes it);
  quotations  short quotations with CR LF: one to three sentences wrapped at 30 to 50 columns,
              a line naming the source, a blank line.
For each text prints the median CPU time (user + system of the child) and wall time of
`check --limit 0`, a full index rebuild and `import --out`, with the median of both ratios to
`wc -l` taken round by round (each round runs every command once). CPU is the figure to compare
on a shared machine; wall time moves with the load.

    bench/process_compare.py [BIN_DIR] [RUNS] [--keep DIR]   (defaults: build/native/bin, 21)

With --keep the texts and what each command wrote are left in DIR, to compare two builds
byte for byte.
"""
import os
import random
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

SIZE = 16 << 20


def shipped_sentences(shipped: bytes):
    return [s for s in shipped.split(b"\r\n") if s]


def wrap(sentences, width: int) -> bytes:
    out, line = bytearray(), b""
    for sentence in sentences:
        for word in sentence.split(b" "):
            if line and len(line) + 1 + len(word) > width:
                out += line + b"\r\n"
                line = b""
            line = line + b" " + word if line else word
    return bytes(out + line + b"\r\n")


def book_text(sentences) -> bytes:
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


def quotations_text(sentences) -> bytes:
    pick = random.Random(19)
    # CP1251: "Из записной книжки", "Письмо другу", "Разговор в поезде"
    sources = [b"\xc8\xe7 \xe7\xe0\xef\xe8\xf1\xed\xee\xe9 \xea\xed\xe8\xe6\xea\xe8",
               b"\xcf\xe8\xf1\xfc\xec\xee \xe4\xf0\xf3\xe3\xf3",
               b"\xd0\xe0\xe7\xe3\xee\xe2\xee\xf0 \xe2 \xef\xee\xe5\xe7\xe4\xe5"]
    out = bytearray()
    while len(out) < SIZE:
        quoted = [pick.choice(sentences) for _ in range(pick.randint(1, 3))]
        out += wrap(quoted, pick.randint(30, 50))
        out += b"    (" + pick.choice(sources) + b")\r\n\r\n"
    return bytes(out[:SIZE])


def run_ms(command, prepare=None):
    """CPU and wall milliseconds of `command` as a whole process."""
    if prepare:
        prepare()
    start = time.perf_counter()
    child = subprocess.Popen(command, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    _, status, usage = os.wait4(child.pid, 0)
    wall = (time.perf_counter() - start) * 1000
    if os.waitstatus_to_exitcode(status) != 0:
        raise subprocess.CalledProcessError(os.waitstatus_to_exitcode(status), command)
    return (usage.ru_utime + usage.ru_stime) * 1000, wall


def paired_medians(commands, runs):
    """Median CPU and wall milliseconds of each command, and of its ratios to the first one.
    Each round runs every command once, so a change of load meets them all alike, and each
    ratio is taken within its round."""
    samples = [[] for _ in commands]
    for _ in range(runs):
        for at, (_, command, prepare) in enumerate(commands):
            samples[at].append(run_ms(command, prepare))
    baseline = samples[0]
    result = []
    for runs_of in samples:
        cpu = statistics.median(c for c, _ in runs_of)
        wall = statistics.median(w for _, w in runs_of)
        cpu_ratio = statistics.median(c / b[0] for (c, _), b in zip(runs_of, baseline))
        wall_ratio = statistics.median(w / b[1] for (_, w), b in zip(runs_of, baseline))
        result.append((cpu, wall, cpu_ratio, wall_ratio))
    return result


def compare(tool, name, text, scratch, runs):
    folder = os.path.join(scratch, name)
    program = os.path.join(folder, "program")
    os.makedirs(os.path.join(program, "Users", "Bench"))
    path = os.path.join(folder, name + ".txt")
    with open(path, "wb") as out:
        out.write(text)
    shutil.copy(path, os.path.join(program, "TextData.Rus"))
    index = os.path.join(program, "Users", "Bench", "random.rus")

    def drop_index():
        if os.path.exists(index):
            os.remove(index)

    subprocess.run(["cat", path], stdout=subprocess.DEVNULL, check=True)  # into the cache
    commands = [
        ("wc -l", ["wc", "-l", path], None),
        ("check --limit 0", [tool, "check", path, "--limit", "0"], None),
        ("index, full rebuild", [tool, "index", program, "Bench", "--lang", "ru"], drop_index),
        ("import --out", [tool, "import", path, "--lang", "ru", "--out", os.path.join(folder, "imported.txt")],
         None),
    ]
    print(f"{name}: 16 MiB, median of {runs} paired runs, whole processes")
    print(f"  {'':22s} {'CPU ms':>7s} {'wall ms':>8s}   ratio to wc -l: CPU  wall")
    for (label, _, _), (cpu, wall, cpu_ratio, wall_ratio) in zip(commands, paired_medians(commands, runs)):
        print(f"  {label:22s} {cpu:7.1f} {wall:8.1f}   {'':15s}{cpu_ratio:4.1f}x {wall_ratio:4.1f}x")
    with open(os.path.join(folder, "check.txt"), "wb") as out:
        subprocess.run([tool, "check", path, "--limit", "0"], stdout=out, check=True)


def main():
    arguments = sys.argv[1:]
    keep = None
    if "--keep" in arguments:
        at = arguments.index("--keep")
        keep = arguments[at + 1]
        del arguments[at:at + 2]
    bin_dir = arguments[0] if arguments else "build/native/bin"
    runs = int(arguments[1]) if len(arguments) > 1 else 21
    tool = os.path.abspath(os.path.join(bin_dir, "dactyla-text"))
    with open(os.path.join(bin_dir, "TextData.Rus"), "rb") as shipped:
        sentences = shipped_sentences(shipped.read())
    scratch = keep or tempfile.mkdtemp(prefix="dactyla-compare-")
    os.makedirs(scratch, exist_ok=True)
    env_tmp = os.path.join(scratch, "tmp")
    os.makedirs(env_tmp, exist_ok=True)
    os.environ["TMPDIR"] = env_tmp
    try:
        compare(tool, "book", book_text(sentences), scratch, runs)
        compare(tool, "quotations", quotations_text(sentences), scratch, runs)
    finally:
        if not keep:
            shutil.rmtree(scratch, ignore_errors=True)


if __name__ == "__main__":
    main()
