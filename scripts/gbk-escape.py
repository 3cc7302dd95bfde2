#!/usr/bin/env python3
"""Copies a source tree, writing every non-ASCII character inside a string or character literal as
the octal escapes of its GBK (code page 936) bytes, so that a compiler without -fexec-charset=GBK
(clang) builds the same bytes into the program as GCC does with it. Comments and everything else are
copied as they are. Octal escapes take at most three digits, so a following character never joins
them.

    gbk-escape.py SOURCE_DIR DEST_DIR     (DEST_DIR is brought up to date; .git and build* are skipped)

With --check it copies nothing: it names every line of the headers (*.h) under the given folders that
holds a non-ASCII character in a literal, and exits 1 when there is one. The installed headers must
hold none, so that a host compiled without -fexec-charset=GBK (any compiler) gets the library's bytes.

    gbk-escape.py --check DIR...
"""
import os
import shutil
import sys

SOURCE_SUFFIXES = ('.cpp', '.h', '.hpp', '.cc', '.c')


def escape(text, path):
    out = []
    i, n = 0, len(text)
    quote = None
    while i < n:
        c = text[i]
        if quote is None:
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
            elif c == '"' and i > 0 and text[i - 1] == 'R':
                # A raw string cannot hold escapes: refuse non-ASCII in one.
                close = text.find('(', i)
                delim = ')' + text[i + 1:close] + '"'
                j = text.find(delim, close)
                j = n if j < 0 else j + len(delim)
                if any(ord(ch) > 127 for ch in text[i:j]):
                    sys.exit('%s: non-ASCII text in a raw string literal' % path)
                out.append(text[i:j])
                i = j
            elif c in '"\'' and not (c == '\'' and i > 0 and text[i - 1].isalnum()):
                quote = c
                out.append(c)
                i += 1
            else:
                out.append(c)
                i += 1
        else:
            if c == '\\':
                out.append(text[i:i + 2])
                i += 2
            elif c == quote or c == '\n':
                quote = None
                out.append(c)
                i += 1
            elif ord(c) > 127:
                out.append(''.join('\\%03o' % b for b in c.encode('gbk')))
                i += 1
            else:
                out.append(c)
                i += 1
    return ''.join(out)


def check(dirs):
    bad = 0
    for top in dirs:
        for root, subdirs, files in os.walk(top):
            subdirs.sort()
            for f in sorted(files):
                if not f.endswith(('.h', '.hpp')):
                    continue
                path = os.path.join(root, f)
                with open(path, encoding='utf-8') as fh:
                    text = fh.read()
                for n, (a, b) in enumerate(zip(text.split('\n'), escape(text, path).split('\n')), 1):
                    if a != b:
                        print('%s:%d: a non-ASCII literal in a header: %s' % (path, n, a.strip()))
                        bad = 1
    return bad


def main():
    if sys.argv[1:2] == ['--check']:
        sys.exit(check(sys.argv[2:]))
    src, dst = os.path.abspath(sys.argv[1]), os.path.abspath(sys.argv[2])
    for root, dirs, files in os.walk(src):
        dirs[:] = [d for d in dirs if d != '.git' and not d.startswith('build')
                   and os.path.abspath(os.path.join(root, d)) != dst]
        rel = os.path.relpath(root, src)
        os.makedirs(os.path.join(dst, rel), exist_ok=True)
        for f in files:
            a, b = os.path.join(root, f), os.path.join(dst, rel, f)
            if f.endswith(SOURCE_SUFFIXES):
                with open(a, encoding='utf-8') as fh:
                    text = escape(fh.read(), a)
                old = None
                if os.path.exists(b):
                    with open(b, encoding='utf-8') as fh:
                        old = fh.read()
                if old != text:  # unchanged files keep their time, so the build stays incremental
                    with open(b, 'w', encoding='utf-8') as fh:
                        fh.write(text)
            elif not os.path.exists(b) or os.path.getmtime(a) > os.path.getmtime(b):
                shutil.copy2(a, b)


if __name__ == '__main__':
    main()
