"""The game's own readers, redone in Python for the data check: its XML pull
reader (a lenient subset with rules of its own), its number parsers, the
"Define" font file reader and the frame-file line reader. A file that a
standard parser reads one way and the game another is a fault the check
can only see through these."""

WHITESPACE = b" \t\n\x0b\x0c\r"
ENTITIES = {b"lt": b"<", b"amp": b"&", b"gt": b">", b"quot": b'"', b"apos": b"'",
            b"nbsp": b" ", b"cr": b"\n"}


def decode_entities(raw):
    """Every run from '&' to the next ';' becomes one byte; unknown names give '&'."""
    out = bytearray()
    i = 0
    while i < len(raw):
        if raw[i] == 0x26:
            j = raw.find(b";", i)
            if j >= 0:
                out += ENTITIES.get(bytes(raw[i + 1:j]), b"&")
                i = j + 1
                continue
        out.append(raw[i])
        i += 1
    return bytes(out)


class XmlReader:
    """read() gives (type, path, name, attributes) per node: 1 start element,
    2 end element, 3 text, 4 declaration; None at the end or at an error,
    which is then in .error."""

    def __init__(self, data):
        self.data = data.replace(b"\r\n", b"\n")  # the game opens in text mode
        self.pos = 0
        self.pushed = []
        self.path = b""
        self.error = None
        self.saw_element = False

    def _byte(self):
        if self.pushed:
            return self.pushed.pop()
        if self.pos >= len(self.data):
            return None
        self.pos += 1
        return self.data[self.pos - 1]

    def read(self):
        while True:
            node = self._node()
            if node is None or node[0] != 5:  # comments are skipped
                return node

    def _fail(self, text):
        self.error = text
        return None

    def _node(self):
        kind = 0
        path = self.path
        name, text = bytearray(), bytearray()
        attrs = {}
        st = {"quote": False, "space": False, "in_attrs": False, "after_eq": False,
              "quoted": False, "an": bytearray(), "av": bytearray(), "last": None}

        def store():
            attrs[decode_entities(bytes(st["an"]))] = decode_entities(bytes(st["av"]))
            st["an"], st["av"] = bytearray(), bytearray()
            st["after_eq"] = False
            st["last"] = None

        while True:
            c = self._byte()
            if c is None:
                # An empty or cut file is an error, as in the game.
                if kind != 0 or self.path:
                    return self._fail("Unexpected End of File")
                return None if self.saw_element else self._fail("No Element")
            if kind == 5:
                text.append(c)
                if c == 0x3E and text.endswith(b"-->"):
                    return (5, path, bytes(name), {})
                continue
            if kind == 4:
                target = text if (text or c in WHITESPACE) else name
                target.append(c)
                if c == 0x3E and target.endswith(b"?>"):
                    return (4, path, bytes(name), {})
                continue
            if c == 0x22:
                st["quote"] = not st["quote"]
                if not st["quote"]:
                    st["quoted"] = True
                if kind in (1, 2):
                    continue
            elif not st["quote"]:
                if c == 0x3C:
                    if kind == 3:
                        self.pushed.append(c)
                        return (3, path, decode_entities(bytes(name)), {})
                    if kind == 0:
                        kind = 1
                        continue
                    return self._fail("Unexpected '<'")
                if c == 0x3E:
                    if kind == 1:
                        closing = False
                        if bytes(st["an"]) == b"/":
                            closing = True
                        else:
                            if st["an"]:
                                last = decode_entities(bytes(st["an"]))
                                store()
                                st["last"] = last
                            if st["last"] is not None:
                                if attrs[st["last"]].endswith(b"/"):
                                    attrs[st["last"]] = attrs[st["last"]][:-1]
                                    closing = True
                            elif name.endswith(b"/"):
                                del name[-1]
                                closing = True
                        if closing:
                            for b in reversed(b"</" + bytes(name) + b">"):
                                self.pushed.append(b)
                        self.path = self.path + b"/" + bytes(name) if self.path else bytes(name)
                        self.saw_element = True
                        return (1, path, decode_entities(bytes(name)), attrs)
                    if kind == 2:
                        if not self.path:
                            return self._fail("Unexpected End")
                        inner = self.path.rsplit(b"/", 1)[-1]
                        if inner != bytes(name):
                            return self._fail("End '%s' Doesn't Match Start '%s'"
                                              % (name.decode("latin-1"), inner.decode("latin-1")))
                        end_path = self.path
                        self.path = self.path.rsplit(b"/", 1)[0] if b"/" in self.path else b""
                        return (2, end_path, decode_entities(bytes(name)), {})
                    return self._fail("Unexpected '>'")
                if kind == 1 and not name and c in (0x2F, 0x3F):
                    kind = 2 if c == 0x2F else 4
                    continue
                if c in WHITESPACE:
                    if name:
                        st["space"] = True
                    if kind == 1 and bytes(name) == b"!--":
                        kind = 5
                    continue
                if c < 0x21:
                    return self._fail("Illegal Character")
            # An ordinary character.
            if kind == 0:
                kind = 3
            if kind in (2, 3):
                if st["space"]:
                    name.append(0x20)
                    st["space"] = False
                name.append(c)
                continue
            if st["space"]:
                if not st["in_attrs"]:
                    st["in_attrs"] = True
                    st["after_eq"] = False
                elif not st["after_eq"]:
                    if c != 0x3D:
                        store()
                elif st["av"] or st["quoted"]:
                    store()
                st["space"] = False
            if not st["in_attrs"]:
                name.append(c)
            elif c == 0x3D and not st["quote"]:
                st["after_eq"] = True
                st["quoted"] = False
            elif st["after_eq"]:
                st["av"].append(c)
            else:
                st["an"].append(c)


def start_elements(data):
    """[(element path, name, {attribute: value})] as text, and the reader's
    error (None when the file was read to its end)."""
    reader = XmlReader(data)
    out = []
    while True:
        node = reader.read()
        if node is None:
            return out, reader.error
        if node[0] == 1:
            out.append((node[1].decode("utf-8"), node[2].decode("utf-8"),
                        {k.decode("utf-8"): v.decode("utf-8") for k, v in node[3].items()}))


def parse_int(text):
    """The game's integer parser: None for an empty text (the default stays),
    else (ok, value); a malformed text gives (False, 0)."""
    if text == "":
        return None
    neg = text[0] == "-"
    value, base = 0, 10
    for i in range(1 if neg else 0, len(text)):
        c = text[i]
        if base == 10 and c in "0123456789":
            value = value * 10 + int(c)
        elif base == 16 and c in "0123456789abcdefABCDEF":
            value = value * 16 + int(c, 16)
        elif c in "xX" and i == 1 and value == 0:
            base = 16
        else:
            return (False, 0)
    return (True, -value if neg else value)


def parse_float(text):
    """The game's float parser: digits, at most one '.' or ',', no exponent."""
    if text == "":
        return None
    i = 1 if text[0] == "-" else 0
    value = 0.0
    while i < len(text) and text[i] in "0123456789":
        value = value * 10 + int(text[i])
        i += 1
    if i < len(text):
        if text[i] not in ".,":
            return (False, 0.0)
        weight = 0.1
        for c in text[i + 1:]:
            if c not in "0123456789":
                return (False, 0.0)
            value += int(c) * weight
            weight *= 0.1
    return (True, -value if text[0] == "-" else value)


def read_font_lists(data):
    """The "Define" font file as the game's reader sees it: the character,
    width, rectangle, offset, kerning-pair and kerning-value lists. The
    number collector and the group field position carry over from line to
    line and from section to section, as in the game."""
    text = data.decode("utf-8")
    parts = text.split("\n")[:-1]  # text after the last line feed is not read
    lines = [p for i, p in enumerate(parts) if len(p) >= (3 if i == 0 else 2)]
    headers = [("Define CharList", "chars"), ("Define WidthList", "widths"),
               ("Define RectList", "rects"), ("Define OffsetList", "offsets"),
               ("Define KerningPairs", "pairs"), ("Define KerningValues", "values")]
    lists = {key: [] for _, key in headers}
    state = None
    number = ""
    field = 0
    fields = [0, 0, 0, 0]
    for line in lines:
        header = [key for h, key in headers if h in line]
        if header:
            state = header[0]
            continue
        i = 0
        while i < len(line):
            c = line[i]
            if state == "chars" and c == "'" and i + 1 < len(line):
                lists["chars"].append(line[i + 1])
                i += 3
                continue
            if state == "pairs" and c == '"' and i + 2 < len(line):
                lists["pairs"].append(line[i + 1:i + 3])
                i += 4
                continue
            if state in ("widths", "values"):
                if c in "0123456789+-":
                    number += c
                elif c in ",)":
                    lists[state].append(int(number) if number.strip("+-") else 0)
                    number = ""
            elif state in ("rects", "offsets"):
                count = 4 if state == "rects" else 2
                if c in "0123456789+-":
                    number += c
                else:
                    if number:
                        if field < 4:
                            fields[field] = int(number) if number.strip("+-") else 0
                        number = ""
                    if c == "(":
                        field = 0
                    elif c == ",":
                        field += 1
                    elif c == ")" and field == count - 1:
                        lists[state].append(tuple(fields[:count]))
                        field = 0
            i += 1
        if ");" in line:
            state = None
    return lists


def read_frame_line(raw):
    """The values of one frame-file line (with its line feed, when it has one)
    as the game reads them, or None when the line makes no frame."""
    if len(raw) >= 2:
        if raw[-1] == '"':
            raw = raw[:-1]
        if len(raw) >= 2 and raw[-2] == '"':
            raw = raw[:-2]
    values = []
    for piece in raw.split(";"):
        if piece:
            parsed = parse_float(piece)
            values.append(parsed[1] if parsed and parsed[0] else 0.0)
    if len(values) != 8 or values[3] <= 0:
        return None
    return values
