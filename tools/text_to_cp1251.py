#!/usr/bin/env python3
"""Converts a UTF-8 text source to the CP1251 text the program reads, with CR LF line ends."""
import sys


def main() -> int:
    if len(sys.argv) != 3:
        print("usage: text_to_cp1251.py SOURCE.txt OUTPUT", file=sys.stderr)
        return 2
    source, output = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as handle:
        lines = [line.rstrip("\r\n") for line in handle]
    try:
        data = "\r\n".join(lines).encode("cp1251")
    except UnicodeEncodeError as error:
        print(f"{source}: character {error.object[error.start]!r} has no CP1251 byte", file=sys.stderr)
        return 1
    with open(output, "wb") as handle:
        handle.write(data + b"\r\n")
    return 0


if __name__ == "__main__":
    sys.exit(main())
