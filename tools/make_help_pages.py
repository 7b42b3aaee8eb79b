#!/usr/bin/env python3
"""Lays out a help page from its UTF-8 source as the program stores it.

The stored page is CP1251 text with CR LF line ends and a NUL terminator, shown in a
fixed-pitch edit box:

    ------------------------      24 hyphens
         TITLE                    the source's first line, with its own indentation
    ----------                    10 hyphens
                                  3 spaces

followed by the body. Source lines after the title:

    # ...        a comment, dropped
    (blank)      an empty line
    = text       text centred in the 50 columns
    | text       text kept as written after the body's indentation of 3 (at most 50
                 columns in all)
    > text       text right-aligned to column 53 (closing lines)
    other        paragraph text: consecutive lines are joined, broken into lines of at
                 most 50 columns indented by 3, and justified by widening the gaps
                 between words; a paragraph's last line is left as it is. A '~' ties
                 two words with a plain space that is never broken or widened.

Blank lines right after the title are dropped: the line of 3 spaces already parts the
title from the body.

Usage: make_help_pages.py SOURCE.txt OUTPUT
"""
import sys

WIDTH = 50
CLOSING_WIDTH = 53
INDENT = "   "
HEADER_RULE = "-" * 24
TITLE_RULE = "-" * 10


class LayoutError(Exception):
    pass


def justify(words, width):
    """Spreads the extra spaces over the gaps, evenly, so the line is exactly width wide."""
    if len(words) == 1:
        return words[0]
    gaps = len(words) - 1
    extra = width - sum(len(word) for word in words) - gaps
    spaces = [1 + extra // gaps] * gaps
    remainder = extra % gaps
    # The leftover spaces go to gaps spread across the line, not bunched at one end.
    for i in range(remainder):
        spaces[(2 * i + 1) * gaps // (2 * remainder)] += 1
    line = words[0]
    for gap, word in zip(spaces, words[1:]):
        line += " " * gap + word
    return line


def untie(line):
    return line.replace("~", " ")


def wrap_paragraph(text):
    width = WIDTH - len(INDENT)
    words = text.split()
    for word in words:
        if len(word) > width:
            raise LayoutError(f"word too long for a line: {word!r}")
    lines, current = [], []
    for word in words:
        if current and sum(len(w) for w in current) + len(current) + len(word) > width:
            lines.append(current)
            current = []
        current.append(word)
    if current:
        lines.append(current)
    laid_out = [INDENT + untie(justify(line, width)) for line in lines[:-1]]
    laid_out.append(INDENT + untie(" ".join(lines[-1])))
    return laid_out


def check_width(line, limit, number):
    if len(line) > limit:
        raise LayoutError(f"line {number}: {len(line)} columns, at most {limit}: {line!r}")


def layout(source_text):
    """Returns the page's lines (without line ends) from the source text."""
    source = [line.rstrip("\r\n") for line in source_text.splitlines()]
    source = [(number, line) for number, line in enumerate(source, 1) if not line.startswith("#")]
    if not source or not source[0][1].strip():
        raise LayoutError("the first line must be the title")
    title_number, title = source[0]
    if not title.startswith(" ") or title != title.rstrip():
        raise LayoutError(f"line {title_number}: the title is indented and has no trailing spaces")
    check_width(title, WIDTH, title_number)

    header = [HEADER_RULE, title, TITLE_RULE, INDENT]
    lines = list(header)
    paragraph = []

    def flush():
        if paragraph:
            lines.extend(wrap_paragraph(" ".join(paragraph)))
            paragraph.clear()

    for number, line in source[1:]:
        if "\t" in line:
            raise LayoutError(f"line {number}: tabs have no fixed width")
        marker = line[:1]
        text = line[2:] if line[1:2] == " " else line[1:]
        if marker in ("=", "|", ">"):
            flush()
            if marker == "=":
                text = text.strip()
                check_width(text, WIDTH, number)
                lines.append(" " * ((WIDTH - len(text)) // 2) + text)
            elif marker == "|":
                text = INDENT + text.rstrip()
                check_width(text, WIDTH, number)
                lines.append(text)
            else:
                text = text.strip()
                check_width(text, CLOSING_WIDTH, number)
                lines.append(text.rjust(CLOSING_WIDTH))
        elif not line.strip():
            flush()
            if len(lines) > len(header):
                lines.append("")
        else:
            paragraph.append(line.strip())
    flush()
    while lines and lines[-1] == "":
        lines.pop()
    return lines


def encode(lines):
    text = "\r\n".join(lines) + "\r\n"
    try:
        return text.encode("cp1251") + b"\0"
    except UnicodeEncodeError as error:
        raise LayoutError(f"character {error.object[error.start]!r} has no CP1251 byte") from error


def main():
    if len(sys.argv) != 3:
        print("usage: make_help_pages.py SOURCE.txt OUTPUT", file=sys.stderr)
        return 2
    source, output = sys.argv[1], sys.argv[2]
    try:
        with open(source, encoding="utf-8") as handle:
            data = encode(layout(handle.read()))
    except (LayoutError, UnicodeDecodeError, OSError) as error:
        print(f"{source}: {error}", file=sys.stderr)
        return 1
    with open(output, "wb") as handle:
        handle.write(data)
    return 0


if __name__ == "__main__":
    sys.exit(main())
