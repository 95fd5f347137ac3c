#!/usr/bin/env python3
"""Seed corpora for the fuzz targets from the example settings files.

usage: make_seeds.py EXAMPLES_DIR OUT_DIR
Creates OUT_DIR/<target>/ for fuzz_settings (the files as they are),
fuzz_window (the same inputs in the structured form of fuzz_window.cpp),
fuzz_textconv (every field of every file, in UTF-8 and in GBK),
fuzz_paramblock (the parameter blocks with each flag byte), fuzz_library (the
program's test substance library).
"""
import hashlib
import pathlib
import sys


def fields(text):
    """The fields of a settings file, read as the window's reader does."""
    out, pos, n = [], 0, len(text)
    while True:
        while pos < n and text[pos] in ' \t':
            pos += 1
        if pos >= n:
            return out
        if text[pos] == '"':
            pos += 1
            value = ''
            while True:
                q = text.find('"', pos)
                if q < 0:
                    return out
                value += text[pos:q]
                if q + 1 < n and text[q + 1] == '"':
                    value += '"'
                    pos = q + 2
                    continue
                pos = q + 1
                break
            while pos < n and text[pos] in ' \t':
                pos += 1
            if pos < n and text[pos] == ',':
                pos += 1
            else:
                if pos < n and text[pos] == '\r':
                    pos += 1
                if pos < n and text[pos] == '\n':
                    pos += 1
            out.append(value)
        else:
            end = pos
            while end < n and text[end] not in ',\r\n':
                end += 1
            out.append(text[pos:end].strip(' \t'))
            pos = end
            if pos < n and text[pos] == ',':
                pos += 1
            else:
                if pos < n and text[pos] == '\r':
                    pos += 1
                if pos < n and text[pos] == '\n':
                    pos += 1


def save(directory, data):
    directory.mkdir(parents=True, exist_ok=True)
    (directory / hashlib.sha1(data).hexdigest()).write_bytes(data)


def main():
    examples, out = pathlib.Path(sys.argv[1]), pathlib.Path(sys.argv[2])
    for ini in sorted(examples.glob('*.ini')):
        raw = ini.read_bytes()
        save(out / 'fuzz_settings', raw)
        f = fields(raw.decode('gbk'))
        if len(f) < 42:
            continue
        boxes, rough = f[0:26], f[26]
        lists = bytes(int(x) for x in f[27:35])
        check = f[35]
        points, general, vossler, vindex = f[36], f[38], f[39], f[41]
        parts = [b.encode() for b in boxes] + [rough.encode(), lists, check.encode(),
                                                points.encode(), general.encode(),
                                                vossler.encode(), vindex.encode()]
        save(out / 'fuzz_window', b'\x1f'.join(parts))
        for v in f:
            save(out / 'fuzz_textconv', v.encode())
            save(out / 'fuzz_textconv', v.encode('gbk', errors='replace'))
        for flags in (0x02, 0x06, 0x12, 0x16, 0x01, 0x05):
            block = general if (flags >> 2) & 3 == 0 else vossler
            save(out / 'fuzz_paramblock', bytes([flags]) + block.encode())
    # The substance library: the program's small test library (the shipped
    # file is larger than the fuzzer's input length).
    fixture = examples.parent / 'tests' / 'data' / 'CHEMLIB-fixture.DAT'
    if fixture.exists():
        save(out / 'fuzz_library', fixture.read_bytes())


if __name__ == '__main__':
    main()
