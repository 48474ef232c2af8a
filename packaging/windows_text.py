#!/usr/bin/env python3
"""Writes a UTF-8 text file out as Windows-1252 with CRLF line ends.

    windows_text.py <UTF-8 input> <output>

A character that Windows-1252 cannot hold stops the build rather than
turning into a question mark in the shipped file.
"""
import sys


def main():
    source, target = sys.argv[1], sys.argv[2]
    with open(source, encoding="utf-8") as f:
        text = f.read()
    lines = text.replace("\r\n", "\n").split("\n")
    data = "\r\n".join(lines).encode("cp1252")
    with open(target, "wb") as f:
        f.write(data)


if __name__ == "__main__":
    main()
