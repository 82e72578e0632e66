#!/usr/bin/env python3
"""Check a built Setup.exe: headers, imports and resources.

    python3 scripts/check_pe.py path/to/Setup.exe --arch x64|x86

Prints one line per check and exits 1 if any check fails. Only the Python
standard library is used; the PE file is parsed here directly.
"""
import argparse
import collections
import fnmatch
import os
import struct
import sys
import xml.etree.ElementTree as ET

# ---------------------------------------------------------------- parse

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24
MACHINES = {"x64": 0x8664, "x86": 0x14C}


class PEError(Exception):
    pass


class PE:
    """The parts of a PE image that the checks look at."""

    def __init__(self, data):
        self.data = data
        if data[:2] != b"MZ":
            raise PEError("no MZ header")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise PEError("no PE signature")
        (self.machine, nsections, self.timestamp, _, _, opt_size,
         self.characteristics) = struct.unpack_from("<HHIIIHH", data, pe + 4)
        opt = pe + 24
        self.magic = struct.unpack_from("<H", data, opt)[0]
        if self.magic not in (0x10B, 0x20B):
            raise PEError("unknown optional header magic 0x%x" % self.magic)
        self.subsystem = struct.unpack_from("<H", data, opt + 68)[0]
        dirs = opt + (96 if self.magic == 0x10B else 112)
        count = struct.unpack_from("<I", data, dirs - 4)[0]
        self.directories = [struct.unpack_from("<II", data, dirs + 8 * i)
                            for i in range(min(count, 16))]
        self.sections = []
        for i in range(nsections):
            s = opt + opt_size + 40 * i
            vsize, va, rawsize, rawptr = struct.unpack_from("<IIII", data, s + 8)
            self.sections.append((va, max(vsize, rawsize), rawptr, rawsize))

    def offset(self, rva):
        for va, size, rawptr, rawsize in self.sections:
            if va <= rva < va + size:
                if rva - va >= rawsize:
                    raise PEError("RVA 0x%x is not backed by file data" % rva)
                return rawptr + rva - va
        raise PEError("RVA 0x%x outside all sections" % rva)

    def cstring(self, rva):
        off = self.offset(rva)
        return self.data[off:self.data.index(b"\0", off)].decode("latin-1")

    def directory(self, index):
        return self.directories[index] if index < len(self.directories) else (0, 0)

    def _thunks(self, rva):
        """Imported names (or '#ordinal') from a lookup table at rva."""
        wide = self.magic == 0x20B
        size, fmt = (8, "<Q") if wide else (4, "<I")
        flag = 1 << (size * 8 - 1)
        names = []
        off = self.offset(rva)
        while True:
            value = struct.unpack_from(fmt, self.data, off)[0]
            if value == 0:
                return names
            if value & flag:
                names.append("#%d" % (value & 0xFFFF))
            else:
                names.append(self.cstring((value & 0x7FFFFFFF) + 2))
            off += size

    def imports(self):
        """[(dll, [function, ...])] from the import and delay-import tables."""
        result = []
        rva, size = self.directory(1)
        if rva:
            off = self.offset(rva)
            while True:
                lookup, _, _, name, iat = struct.unpack_from("<IIIII", self.data, off)
                if name == 0:
                    break
                result.append((self.cstring(name), self._thunks(lookup or iat)))
                off += 20
        rva, size = self.directory(13)
        if rva:
            off = self.offset(rva)
            while True:
                fields = struct.unpack_from("<IIIIIIII", self.data, off)
                attrs, name, _, _, lookup = fields[:5]
                if name == 0:
                    break
                if not attrs & 1:
                    raise PEError("old-style delay-import descriptor")
                result.append((self.cstring(name), self._thunks(lookup)))
                off += 32
        return result

    def resources(self):
        """{(type, name, lang): bytes}; ids are ints, named entries are str."""
        rva, _ = self.directory(2)
        if not rva:
            return {}
        base = self.offset(rva)
        found = {}

        def walk(off, path):
            named, ids = struct.unpack_from("<HH", self.data, base + off + 12)
            for i in range(named + ids):
                ident, target = struct.unpack_from("<II", self.data, base + off + 16 + 8 * i)
                if ident & 0x80000000:
                    at = base + (ident & 0x7FFFFFFF)
                    length = struct.unpack_from("<H", self.data, at)[0]
                    ident = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                if target & 0x80000000:
                    walk(target & 0x7FFFFFFF, path + (ident,))
                else:
                    data_rva, size = struct.unpack_from("<II", self.data, base + target)
                    start = self.offset(data_rva)
                    found[path + (ident,)] = self.data[start:start + size]

        walk(0, ())
        return found


VersionNode = collections.namedtuple("VersionNode", "key kind value children length")


def version_node(data, off=0):
    """Parse one VS_VERSIONINFO-style node (and its children) at off."""
    length, value_len, kind = struct.unpack_from("<HHH", data, off)
    key_end = off + 6
    while data[key_end:key_end + 2] != b"\0\0":
        key_end += 2
    key = data[off + 6:key_end].decode("utf-16-le")
    pos = (key_end + 2 + 3) & ~3
    value_size = value_len * 2 if kind == 1 else value_len  # text counts UTF-16 units
    value = data[pos:pos + value_size]
    pos = (pos + value_size + 3) & ~3
    children = []
    while pos < off + length:
        child = version_node(data, pos)
        children.append(child)
        pos = (pos + child.length + 3) & ~3
    return VersionNode(key, kind, value, children, length)


def text(value):
    return value.decode("utf-16-le").rstrip("\0")


# ---------------------------------------------------------------- checks
# Each check_* generator yields (ok, message) pairs, one per printed line.

ALLOWED_DLLS = ["kernel32.dll", "user32.dll", "advapi32.dll", "ole32.dll",
                "msvcrt.dll", "api-ms-win-crt-*.dll"]
FORBIDDEN_FUNCTIONS = ["CreateProcessWithLogonW"]
LANG = 1046  # Portuguese (Brazil)
ICON_GROUP = 128
ICON_SIZES = [32, 16]
VERSION = (6, 25, 0, 1055)
VERSION_TEXT = "6, 25, 0, 1055"
COPYRIGHT = "Copyright (C) Veslor"
STRINGS = [
    ("Comments", ""),
    ("CompanyName", "Veslor"),
    ("FileDescription", ""),
    ("FileVersion", VERSION_TEXT),
    ("InternalName", ""),
    ("LegalCopyright", COPYRIGHT),
    ("LegalTrademarks", COPYRIGHT),
    ("OriginalFilename", ""),
    ("PrivateBuild", ""),
    ("ProductName", "Tolmo"),
    ("ProductVersion", VERSION_TEXT),
    ("SpecialBuild", ""),
]


def check_headers(pe, arch):
    want = MACHINES[arch]
    yield pe.machine == want, "machine 0x%x (want 0x%x for %s)" % (pe.machine, want, arch)
    yield pe.subsystem == 2, "subsystem %d (want 2, Windows GUI)" % pe.subsystem


def check_imports(pe):
    imports = pe.imports()
    dlls = [dll for dll, _ in imports]
    bad = [d for d in dlls
           if not any(fnmatch.fnmatchcase(d.lower(), p) for p in ALLOWED_DLLS)]
    yield not bad, "imported DLLs %s%s" % (
        ", ".join(dlls) or "(none)", "; not allowed: " + ", ".join(bad) if bad else "")
    hits = ["%s!%s" % (dll, f) for dll, funcs in imports for f in funcs
            if f in FORBIDDEN_FUNCTIONS]
    yield not hits, "no forbidden imports (%s)%s" % (
        ", ".join(FORBIDDEN_FUNCTIONS), ": found " + ", ".join(hits) if hits else "")


def check_language(res):
    others = sorted("%s/%s/%s" % k for k in res if k[2] != LANG)
    yield not others, "all resources in language %d%s" % (
        LANG, "; others: " + ", ".join(others) if others else "")


def check_icon(res):
    group = res.get((RT_GROUP_ICON, ICON_GROUP, LANG))
    if group is None:
        yield False, "icon group %d (lang %d) missing" % (ICON_GROUP, LANG)
        return
    _, kind, count = struct.unpack_from("<HHH", group, 0)
    entries = [struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i) for i in range(count)]
    sizes = [w or 256 for w, h, _, _, _, _, _, _ in entries]
    yield (kind == 1 and sizes == ICON_SIZES and all(w == h for w, h, *_ in entries)), \
        "icon group %d has %d images %s (want %s)" % (
            ICON_GROUP, count, "/".join("%dx%d" % (e[0], e[1]) for e in entries),
            "/".join("%dx%d" % (s, s) for s in ICON_SIZES))
    for w, h, _, _, _, bits, size, ident in entries:
        image = res.get((RT_ICON, ident, LANG))
        label = "icon %dx%d (RT_ICON %d)" % (w, h, ident)
        if image is None:
            yield False, "%s missing in lang %d" % (label, LANG)
            continue
        if image[:4] == b"\x89PNG" or len(image) < 40:
            yield False, "%s is not a BMP image" % label
            continue
        bi_size, bi_w, bi_h, _, bi_bits = struct.unpack_from("<IiiHH", image, 0)
        ok = (bits == 4 and bi_size == 40 and bi_bits == 4
              and bi_w == w and bi_h == 2 * bi_w and len(image) == size)
        yield ok, "%s: group says %d bpp, header %d bytes, %dx%d, %d bpp (want 4 bpp, height 2x width)" % (
            label, bits, bi_size, bi_w, bi_h, bi_bits)


def check_manifest(res):
    manifests = [k for k in res if k[0] == RT_MANIFEST]
    data = res.get((RT_MANIFEST, 1, LANG))
    yield data is not None and len(manifests) == 1, \
        "one manifest, resource 1 lang %d (found %s)" % (
            LANG, ", ".join("%s/%s" % k[1:] for k in manifests) or "none")
    if data is None:
        return
    yield data.startswith(b"\xef\xbb\xbf"), "manifest starts with UTF-8 BOM"
    try:
        root = ET.fromstring(data[3:] if data.startswith(b"\xef\xbb\xbf") else data)
    except ET.ParseError as e:
        yield False, "manifest is not well-formed XML: %s" % e
        return
    levels = [e.attrib for e in root.iter() if e.tag.endswith("}requestedExecutionLevel")]
    yield (len(levels) == 1 and levels[0].get("level") == "asInvoker"
           and levels[0].get("uiAccess") == "false"), \
        "manifest requestedExecutionLevel %s (want asInvoker, uiAccess false)" % (
            ", ".join("level=%s uiAccess=%s" % (a.get("level"), a.get("uiAccess"))
                      for a in levels) or "missing")
    deps = [e.attrib for d in root.iter() if d.tag.endswith("}dependentAssembly")
            for e in d if e.tag.endswith("}assemblyIdentity")]
    want = {"type": "win32", "name": "Microsoft.Windows.Common-Controls",
            "version": "6.0.0.0", "processorArchitecture": "*",
            "publicKeyToken": "6595b64144ccf1df", "language": "*"}
    yield deps == [want], "manifest dependencies: %s (want only %s %s, token %s)" % (
        "; ".join(" ".join("%s=%s" % i for i in sorted(d.items())) for d in deps) or "none",
        want["name"], want["version"], want["publicKeyToken"])


def check_version(res):
    data = res.get((RT_VERSION, 1, LANG))
    if data is None:
        yield False, "version resource 1 (lang %d) missing" % LANG
        return
    root = version_node(data)
    key, fixed, children = root.key, root.value, root.children
    yield key == "VS_VERSION_INFO" and len(fixed) == 52, "version block key %r, fixed info %d bytes" % (key, len(fixed))
    if len(fixed) != 52:
        return
    f = struct.unpack("<13I", fixed)
    def ver(ms, ls):
        return (ms >> 16, ms & 0xFFFF, ls >> 16, ls & 0xFFFF)
    got = {"signature": f[0], "file version": ver(f[2], f[3]),
           "product version": ver(f[4], f[5]), "flags mask": f[6], "flags": f[7],
           "OS": f[8], "type": f[9], "subtype": f[10], "date": (f[11], f[12])}
    want = {"signature": 0xFEEF04BD, "file version": VERSION, "product version": VERSION,
            "flags mask": 0x3F, "flags": 0, "OS": 0x40004, "type": 1, "subtype": 0,
            "date": (0, 0)}
    for name in want:
        value = got[name]
        shown = ".".join(map(str, value)) if "version" in name else (
            "0x%x" % value if isinstance(value, int) else value)
        yield value == want[name], "fixed %s %s" % (name, shown)
    blocks = {c.key: c.children for c in children}
    yield sorted(blocks) == ["StringFileInfo", "VarFileInfo"], "version blocks %s" % list(blocks)
    tables = blocks.get("StringFileInfo", [])
    names = [t.key for t in tables]
    yield names == ["041604b0"], "string tables %s (want 041604b0)" % names
    strings = [(s.key, text(s.value)) for s in (tables[0].children if tables else [])]
    keys_ok = [k for k, _ in strings] == [k for k, _ in STRINGS]
    yield keys_ok, "string keys in order: %s" % ", ".join(k for k, _ in strings)
    for (k, v), (wk, wv) in zip(strings, STRINGS):
        if k == wk:
            yield v == wv, "string %s = %r" % (k, v)
    trans = [v.value for v in blocks.get("VarFileInfo", []) if v.key == "Translation"]
    pairs = [struct.unpack("<HH", t) for t in trans if len(t) == 4]
    yield pairs == [(0x0416, 0x04B0)], "translation %s (want 0x0416 0x04B0)" % (
        ", ".join("0x%04X 0x%04X" % p for p in pairs) or "missing")


def run_checks(path, arch):
    """Yield (ok, message) for every check on the file at path."""
    with open(path, "rb") as f:
        data = f.read()
    pe = PE(data)
    res = pe.resources()
    for group in (check_headers(pe, arch), check_imports(pe), check_language(res),
                  check_icon(res), check_manifest(res), check_version(res)):
        yield from group


def main(argv=None):
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("exe")
    parser.add_argument("--arch", choices=sorted(MACHINES), required=True)
    args = parser.parse_args(argv)
    failed = 0
    try:
        for ok, message in run_checks(args.exe, args.arch):
            print("%s  %s" % ("ok  " if ok else "FAIL", message))
            failed += not ok
    except (PEError, struct.error, ValueError, UnicodeDecodeError) as e:
        print("FAIL  cannot parse %s: %s" % (args.exe, e))
        failed += 1
    print("info  size %d bytes" % os.path.getsize(args.exe))
    print("%s: %d check(s) failed" % (args.exe, failed) if failed else "%s: all checks passed" % args.exe)
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
