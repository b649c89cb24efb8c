#!/usr/bin/env python3
"""arm64-binaries-test.py CERTIFICATE X64_FOLDER ARM64_FOLDER [NAME...]

The ARM64 programs as Windows on ARM meets them, read from the files themselves: each NAME in
ARM64_FOLDER (every .dll and .exe there when none is named) is an ARM64 image, imports Windows'
own DLLs only (no runtime of the compiler beside it), exports exactly the names its x64 twin of
the same name in X64_FOLDER exports, has its twin's subsystem and resources, and carries a
signature that osslsigncode verifies against CERTIFICATE."""
import os
import struct
import subprocess
import sys

MACHINES = {0x8664: "x64", 0xAA64: "ARM64"}
# What every Windows has in its system folder; a compiler's runtime DLL is none of them.
WINDOWS_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "gdi32.dll",
                "kernel32.dll", "msvcrt.dll", "ntdll.dll", "ole32.dll", "oleaut32.dll",
                "psapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
                "uxtheme.dll", "version.dll"}


RT_DIALOG = 5


def dialog_text(data):
    """An extended dialog template with its controls' window class names in capitals: windres
    writes "STATIC" where llvm-rc keeps the script's "Static", and Windows looks class names up
    regardless of case. Any other template is taken as it is."""
    if data[:4] != b"\x01\x00\xff\xff":
        return data
    out = bytearray(data)

    def skip_name(at, capitals=False):  # a number (0xFFFF, n), nothing, or a string
        first = struct.unpack_from("<H", data, at)[0]
        if first == 0xFFFF:
            return at + 4
        end = at
        while struct.unpack_from("<H", data, end)[0]:
            end += 2
        if capitals:
            out[at:end] = data[at:end].decode("utf-16-le").upper().encode("utf-16-le")
        return end + 2

    style, count = struct.unpack_from("<I", data, 12)[0], struct.unpack_from("<H", data, 16)[0]
    at = skip_name(skip_name(skip_name(26)))             # menu, class, caption
    if style & 0x40:                                     # DS_SETFONT: size, weight, italic, charset, face
        at = skip_name(at + 6)
    for _ in range(count):
        at = (at + 3) & ~3
        at = skip_name(skip_name(at + 24, capitals=True))  # class, then title
        at += 2 + struct.unpack_from("<H", data, at)[0]      # creation data
    return bytes(out)


class Image:
    """The parts of a PE file the loader reads that the checks need."""

    def __init__(self, path):
        with open(path, "rb") as file:
            self.data = data = file.read()
        if data[:2] != b"MZ":
            raise ValueError("not a PE file")
        pe = struct.unpack_from("<I", data, 0x3C)[0]
        if data[pe:pe + 4] != b"PE\0\0":
            raise ValueError("not a PE file")
        self.machine, sections, _, _, _, optional_size = struct.unpack_from("<HHIIIH", data, pe + 4)
        optional = pe + 24
        if struct.unpack_from("<H", data, optional)[0] != 0x20B:
            raise ValueError("not a 64-bit image")
        self.subsystem = struct.unpack_from("<H", data, optional + 68)[0]
        directories = struct.unpack_from("<16Q", data, optional + 112)
        self.directory = [(d & 0xFFFFFFFF, d >> 32) for d in directories]
        table = optional + optional_size
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def offset(self, rva):
        for virtual_size, address, raw_size, raw_offset in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return rva - address + raw_offset
        raise ValueError(f"address {rva:#x} is in no section")

    def text(self, rva):
        start = self.offset(rva)
        return self.data[start:self.data.index(b"\0", start)].decode("ascii")

    def imports(self):
        names, (rva, _) = [], self.directory[1]
        while rva:
            descriptor = struct.unpack_from("<5I", self.data, self.offset(rva))
            if not any(descriptor):
                break
            names.append(self.text(descriptor[3]))
            rva += 20
        return names

    def exports(self):
        """The exported names, and how many functions are exported (by name or by number)."""
        rva, _ = self.directory[0]
        if not rva:
            return set(), 0
        start = self.offset(rva)
        functions, count, _, names = struct.unpack_from("<IIII", self.data, start + 20)
        return {self.text(struct.unpack_from("<I", self.data, self.offset(names) + 4 * i)[0])
                for i in range(count)}, functions

    def resources(self):
        """{(type, name, language): data} from the resource tree's three levels."""
        root, _ = self.directory[2]
        found = {}

        def walk(rva, path):
            start = self.offset(rva)
            named, numbered = struct.unpack_from("<HH", self.data, start + 12)
            for i in range(named + numbered):
                key, target = struct.unpack_from("<II", self.data, start + 16 + 8 * i)
                if key & 0x80000000:
                    at = self.offset(root + (key & 0x7FFFFFFF))
                    length = struct.unpack_from("<H", self.data, at)[0]
                    key = self.data[at + 2:at + 2 + 2 * length].decode("utf-16-le")
                if target & 0x80000000:
                    walk(root + (target & 0x7FFFFFFF), path + (key,))
                else:
                    data_rva, size = struct.unpack_from("<II", self.data, self.offset(root + target))
                    found[path + (key,)] = self.data[self.offset(data_rva):self.offset(data_rva) + size]

        if root:
            walk(root, ())
        return found


def problems_of(name, arm64_path, x64_path, certificate):
    try:
        arm64, x64 = Image(arm64_path), Image(x64_path)
    except (OSError, ValueError) as error:
        return [f"{name}: {error}"]
    found = []
    if arm64.machine != 0xAA64:
        found.append(f"{name} is for {MACHINES.get(arm64.machine, hex(arm64.machine))}, not ARM64")
    foreign = [dll for dll in arm64.imports() if dll.lower() not in WINDOWS_DLLS]
    if foreign:
        found.append(f"{name} imports DLLs that are not Windows' own: {', '.join(foreign)}")
    (ours, functions), (theirs, twin_functions) = arm64.exports(), x64.exports()
    if ours != theirs or functions != twin_functions:
        found.append(f"{name} exports {sorted(ours - theirs)} beyond its x64 twin and lacks "
                     f"{sorted(theirs - ours)} ({functions} functions, the twin {twin_functions})")
    if not name.lower().endswith(".dll") and arm64.subsystem != x64.subsystem:
        found.append(f"{name} has subsystem {arm64.subsystem}, its x64 twin {x64.subsystem}")
    ours, theirs = arm64.resources(), x64.resources()
    same = lambda key: ours.get(key) == theirs.get(key) or key[0] == RT_DIALOG and \
        key in ours and key in theirs and dialog_text(ours[key]) == dialog_text(theirs[key])
    differing = sorted(str(key) for key in ours.keys() | theirs.keys() if not same(key))
    if not ours or differing:
        found.append(f"{name}'s resources differ from its x64 twin's: {', '.join(differing) or 'none'}")
    verify = subprocess.run(["osslsigncode", "verify", "-in", arm64_path, "-CAfile", certificate],
                            capture_output=True, text=True)
    if verify.returncode != 0:
        found.append(f"{name} does not verify against {certificate}")
    return found


def main(certificate, x64_folder, arm64_folder, *names):
    if not names and os.path.isdir(arm64_folder):
        names = sorted(n for n in os.listdir(arm64_folder) if n.lower().endswith((".dll", ".exe")))
    failures = [] if names else [f"no ARM64 programs in {arm64_folder}"]
    for name in names:
        failures += problems_of(name, os.path.join(arm64_folder, name),
                                os.path.join(x64_folder, name), certificate)
    print("\n".join("FAIL: " + failure for failure in failures) or f"ok: ARM64 {', '.join(names)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
