#!/usr/bin/env python3
"""Settings files as they may be handed over: damaged, foreign or oversized.

usage: make_hostile.py OUT_DIR
Writes OUT_DIR/settings-<kind> files built from the first example scenario.
Each must load what it can, quickly, and never crash the program (the test
command replays them through replay_settings). The files are generated
rather than kept in the repository because some are many megabytes long.
"""
import pathlib
import random
import sys

MB = 1024 * 1024


def records(raw):
    """The example's records (CR LF ended), as GBK bytes."""
    parts = raw.split(b'\r\n')
    return parts[:-1] if parts and parts[-1] == b'' else parts


def join(recs):
    return b''.join(r + b'\r\n' for r in recs)


def with_record(recs, n, value):
    """Record n (1-based) replaced by value."""
    out = list(recs)
    out[n - 1] = value
    return join(out)


def main():
    root = pathlib.Path(__file__).resolve().parent.parent
    raw = (root / 'examples' / '01-chlorine-leak-day.ini').read_bytes()
    recs = records(raw)
    out = pathlib.Path(sys.argv[1])
    out.mkdir(parents=True, exist_ok=True)
    rng = random.Random(20170112)
    files = {}

    files['empty'] = b''
    files['only-line-ends'] = b'\r\n' * 100
    # Cut inside a quoted record, and inside the two bytes of a GBK character.
    first_wide = next(i for i, b in enumerate(raw) if b >= 0x81)
    files['truncated-in-quotes'] = raw[:first_wide - 5]
    files['truncated-in-character'] = raw[:first_wide + 1]
    files['truncated-half'] = raw[:len(raw) // 2]
    files['binary'] = bytes(rng.getrandbits(8) for _ in range(256 * 1024))
    files['binary-with-quotes'] = bytes(rng.choice(b'"\r\n,\x00\x81\xfe0123456789-')
                                        for _ in range(256 * 1024))
    files['nul-bytes'] = raw.replace(b'"', b'"\x00', 10)
    # The same file in UTF-8 and UTF-16 instead of GBK.
    text = raw.decode('gbk')
    files['utf8'] = text.encode('utf-8')
    files['utf8-bom'] = b'\xef\xbb\xbf' + text.encode('utf-8')
    files['utf16'] = text.encode('utf-16')
    # Bytes that are no GBK: lead bytes without trail bytes, 0x80 and 0xFF.
    files['not-gbk'] = with_record(recs, 1, b'"\x80\xff\x81\x20\xfe\x7f121.47E"')
    # Over-long lines: one box of 4 MB between quotes, one unquoted 4 MB line,
    # a record of 4 MB of line breaks, and 4 MB without any line end.
    files['long-quoted-box'] = with_record(recs, 9, b'"' + b'3' * (4 * MB) + b'"')
    files['long-unquoted-line'] = with_record(recs, 28, b'1' * (4 * MB))
    files['long-line-breaks'] = with_record(recs, 37, b'"' + b'\r\n' * (2 * MB) + b'"')
    files['no-line-end'] = b'"' + b'x' * (4 * MB)
    # Lists that are long to parse: thresholds separated by full-width commas,
    # and 200 000 receptor points with the point series ticked.
    files['long-threshold-list'] = with_record(recs, 26, b'"3' + '，'.encode('gbk') * MB + b'"')
    points = b''.join(b'%d,0,1.5,10\r\n' % (100 + i % 5000) for i in range(200000))
    ticked = list(recs)
    ticked[35] = b'1'
    files['many-points'] = with_record(ticked, 37, b'"' + points + b'"')
    # Larger than the 16 MB the program reads: the results record runs past the
    # limit, so it and the records after it are failed steps.
    files['beyond-16mb'] = with_record(recs, 38, b'"' + b'r' * (17 * MB) + b'"')

    for name, data in files.items():
        (out / ('settings-' + name)).write_bytes(data)


if __name__ == '__main__':
    main()
