#!/usr/bin/env python3
"""Mirrors the source tree for the clang build of the fuzz targets.

Our sources are UTF-8 and their narrow literals become Shift-JIS when
compiled (-fexec-charset=CP932). clang only knows UTF-8 as the execution
character set, so the mirror spells every non-ASCII character inside a
string or character literal as octal escapes of its code page 932 bytes;
comments and everything else are copied as they are. Files are only
rewritten when their text changes, so that a rebuild stays incremental.

    sjis_literals.py SOURCE-DIR MIRROR-DIR
"""
import os
import sys

CONVERTED = ('.cpp', '.h', '.c', '.inc')
SKIPPED_DIRS = {'.git', 'build', 'corpus'}


def escape(ch):
    return ''.join('\\%03o' % b for b in ch.encode('cp932'))


def convert(text):
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            out.append(text[i:j])
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            out.append(text[i:j])
            i = j
        elif c == '"' and i > 0 and text[i - 1] == 'R' and not (i > 1 and (text[i - 2].isalnum() or text[i - 2] == '_')):
            # A raw literal cannot hold escapes: it is copied as it stands
            # (the only one we have is a test's script text, not compiled here).
            open_paren = text.index('(', i)
            delim = ')' + text[i + 1:open_paren] + '"'
            j = text.index(delim, open_paren) + len(delim)
            out.append(text[i:j])
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and (text[i - 1].isalnum() or text[i - 1] == '_'))):
            # A string or character literal ("1'000" is a digit separator).
            j = i + 1
            out.append(c)
            while j < n and text[j] != c and text[j] != '\n':
                if text[j] == '\\' and j + 1 < n:
                    out.append(text[j:j + 2])
                    j += 2
                    continue
                out.append(text[j] if ord(text[j]) < 128 else escape(text[j]))
                j += 1
            if j < n and text[j] == c:
                out.append(c)
                j += 1
            i = j
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def write_if_changed(path, data):
    try:
        with open(path, 'rb') as f:
            if f.read() == data:
                return
    except FileNotFoundError:
        pass
    os.makedirs(os.path.dirname(path), exist_ok=True)
    tmp = path + '.tmp'
    with open(tmp, 'wb') as f:
        f.write(data)
    os.replace(tmp, path)


def main():
    if len(sys.argv) != 3:
        raise SystemExit(__doc__)
    src, dst = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    kept = set()
    for root, dirs, files in os.walk(src):
        dirs[:] = sorted(d for d in dirs if d not in SKIPPED_DIRS)
        for name in files:
            full = os.path.join(root, name)
            rel = os.path.relpath(full, src)
            with open(full, 'rb') as f:
                data = f.read()
            if name.endswith(CONVERTED):
                data = convert(data.decode('utf-8')).encode('utf-8')
            target = os.path.join(dst, rel)
            kept.add(target)
            write_if_changed(target, data)
    for root, dirs, files in os.walk(dst):
        for name in files:
            full = os.path.join(root, name)
            if full not in kept:
                os.remove(full)


if __name__ == '__main__':
    main()
