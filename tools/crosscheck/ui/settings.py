"""Independent reader and writer of the settings file (41 records, GBK, CR LF).

Reading a field: blanks before a field are skipped; a quoted field ends at the
next quote (a doubled quote inside reads as one quote); after the closing
quote, blanks and one separator (comma or CR LF) are skipped; any other field
runs to the next comma or line end and is trimmed. Every record is its own
step: a step that fails is skipped and reading goes on.
"""


BLANK = ' \t'


def _line_end(t, i):
    """Length of the line end at i: CR LF, or a lone CR or LF (hand-edited files)."""
    if t.startswith('\r\n', i):
        return 2
    if i < len(t) and t[i] in '\r\n':
        return 1
    return 0


class FieldReader:
    def __init__(self, text):
        self.t = text
        self.i = 0

    def at_end(self):
        return self.i >= len(self.t)

    def read_field(self):
        """Returns (ok, value, quoted)."""
        t = self.t
        n = len(t)
        while self.i < n and t[self.i] in BLANK:
            self.i += 1
        if self.i >= n:
            return False, None, False
        if t[self.i] == '"':
            j = self.i + 1
            out = []
            closed = False
            while j < n:
                if t[j] == '"':
                    if j + 1 < n and t[j + 1] == '"':
                        out.append('"')
                        j += 2
                        continue
                    closed = True
                    j += 1
                    break
                out.append(t[j])
                j += 1
            self.i = j
            if not closed:
                return False, None, True
            # skip blanks and one separator
            while self.i < n and t[self.i] in BLANK:
                self.i += 1
            if self.i < n and t[self.i] == ',':
                self.i += 1
            else:
                self.i += _line_end(t, self.i)
            return True, ''.join(out), True
        # unquoted: up to the next comma or line end
        j = self.i
        while j < n and t[j] not in ',\r\n':
            j += 1
        val = t[self.i:j].strip(BLANK)
        if j < n:
            j += 1 if t[j] == ',' else _line_end(t, j)
        self.i = j
        return True, val, False


def parse_int(s):
    """Decimal integer: optional sign and digits, nothing else."""
    s2 = s.strip(BLANK)
    body = s2[1:] if s2[:1] in '+-' else s2
    if not body or not body.isdigit() or not body.isascii():
        return None
    return int(s2)


def read_records(raw_bytes):
    """Returns a list of 41 (+1 for record 41's integer) entries:
    each entry None (failed step) or the raw field value (text)."""
    text = raw_bytes.decode('gbk', errors='replace')
    r = FieldReader(text)
    out = []
    # records 1..40, then record 41 name and integer
    for _ in range(42):
        ok, val, q = r.read_field()
        out.append(val if ok else None)
    return out


def quote(s):
    return '"' + s.replace('"', '""') + '"'


def write_settings(boxes, rough, lists, check, text2, text3, gen, voss, name, vidx):
    recs = [quote(b) for b in boxes]
    recs.append(quote(rough))
    recs += [str(x) for x in lists]
    recs.append(str(check))
    recs += [quote(text2), quote(text3), quote(gen), quote(voss)]
    recs.append(quote(name) + ',' + str(vidx))
    return ('\r\n'.join(recs) + '\r\n')
