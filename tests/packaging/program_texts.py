#!/usr/bin/env python3
"""program_texts.py SOURCE_DIR...

Prints, one per line as a hexadecimal code point, every character the
program's string literals hold in the C++ files of SOURCE_DIRs: the texts of
the windows, menus, tooltips and messages, and the control names besides
(a character too many only makes the glyph check stricter).

Literals written as UTF-8 are read as such; a literal written with \\x
escapes holds GBK bytes (the core's messages) and is decoded from GBK. A
literal that mixes escaped bytes with raw non-ASCII text, or does not decode,
is an error: the check must not guess at what the program shows.
"""
import pathlib
import re
import sys

# A literal: an optional encoding prefix, then a quoted body; comments and
# character literals are matched too, only to be skipped.
TOKEN = re.compile(
    r'//[^\n]*'
    r'|/\*.*?\*/'
    r"|'(?:\\.|[^'\\\n])*'"
    r'|(?P<prefix>u8|u|U|L)?"(?P<body>(?:\\.|[^"\\\n])*)"',
    re.S)
SIMPLE = {'n': 10, 't': 9, 'r': 13, '0': 0, '\\': 92, '"': 34, "'": 39, '?': 63,
          'a': 7, 'b': 8, 'f': 12, 'v': 11}


def literal_text(prefix, body, where):
    data = bytearray()
    escaped_bytes = False
    i = 0
    while i < len(body):
        c = body[i]
        if c != '\\':
            data += c.encode('utf-8')
            i += 1
            continue
        n = body[i + 1]
        if n == 'x':
            m = re.match(r'[0-9A-Fa-f]+', body[i + 2:])
            data.append(int(m.group(0), 16))
            escaped_bytes = True
            i += 2 + len(m.group(0))
        elif n in 'uU':
            digits = 4 if n == 'u' else 8
            data += chr(int(body[i + 2:i + 2 + digits], 16)).encode('utf-8')
            i += 2 + digits
        elif n in SIMPLE:
            data.append(SIMPLE[n])
            i += 2
        else:
            sys.exit(f'{where}: escape \\{n} not understood')
    if escaped_bytes:
        if prefix:
            sys.exit(f'{where}: \\x escapes in a {prefix}"" literal')
        if any(ord(c) > 127 for c in body):
            sys.exit(f'{where}: a literal mixes GBK escapes with UTF-8 text')
        try:
            return data.decode('gbk')
        except UnicodeDecodeError as error:
            sys.exit(f'{where}: not GBK: {error}')
    return data.decode('utf-8')


def main(dirs):
    chars = set()
    files = sorted(p for d in dirs for p in pathlib.Path(d).rglob('*')
                   if p.suffix in ('.cpp', '.h'))
    if not files:
        sys.exit(f'no C++ sources under {" ".join(dirs)}')
    for path in files:
        source = path.read_text(encoding='utf-8')
        for m in TOKEN.finditer(source):
            if m.group('body') is None:
                continue
            line = source.count('\n', 0, m.start()) + 1
            chars.update(literal_text(m.group('prefix'), m.group('body'), f'{path}:{line}'))
    for c in sorted(chars):
        if ord(c) >= 0x20 and c != '\x7f':
            print(f'{ord(c):04x}')


if __name__ == '__main__':
    main(sys.argv[1:] or sys.exit(__doc__))
