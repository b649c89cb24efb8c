#!/usr/bin/env python3
"""setup-payload-test.py CERTIFICATE SETUP.exe

What the setup ships, read from its payload (unpacked by 7-Zip) as Windows on ARM reads it: the
programs come in twins, an x64 and an ARM64 image of each name; every ARM64 image imports
Windows' own DLLs only, exports exactly what its x64 twin exports, has the twin's subsystem and
resources, and carries a signature that osslsigncode verifies against CERTIFICATE. Each first-menu
package comes for x64 and for arm64, the two alike but for the architecture, both signed."""
import os
import re
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ElementTree
import zipfile

# In every Windows' system folder; no compiler's runtime DLL is.
WINDOWS_DLLS = {"advapi32.dll", "comctl32.dll", "comdlg32.dll", "crypt32.dll", "dwmapi.dll",
                "gdi32.dll", "kernel32.dll", "msvcrt.dll", "ntdll.dll", "ole32.dll", "oleacc.dll",
                "oleaut32.dll", "psapi.dll", "shcore.dll", "shell32.dll", "shlwapi.dll", "user32.dll",
                "uxtheme.dll", "version.dll"}
RT_DIALOG = 5


def dialog_text(data):
    """An extended dialog template with its controls' class names in capitals: windres writes
    "STATIC" where llvm-rc keeps the script's "Static", and Windows finds a class by either."""
    if data[:4] != b"\x01\x00\xff\xff":
        return data
    out = bytearray(data)

    def skip(at, capitals=False):  # a number (0xFFFF, n), nothing, or a string
        if data[at:at + 2] == b"\xff\xff":
            return at + 4
        end = at
        while data[end:end + 2] != b"\0\0":
            end += 2
        if capitals:
            out[at:end] = data[at:end].decode("utf-16-le").upper().encode("utf-16-le")
        return end + 2

    style, count = struct.unpack_from("<IH", data, 12)
    at = skip(skip(skip(26)))  # menu, class, caption
    if style & 0x40:  # DS_SETFONT: size, weight, italic, charset, face
        at = skip(at + 6)
    for _ in range(count):
        at = skip(skip(((at + 3) & ~3) + 24, capitals=True))  # class, title
        at += 2 + struct.unpack_from("<H", data, at)[0]  # creation data
    return bytes(out)


class Image:
    """What the loader reads of a 64-bit PE file that the checks need."""

    def __init__(self, path):
        with open(path, "rb") as file:
            self.data = data = file.read()
        pe = struct.unpack_from("<I", data, 0x3C)[0] if data[:2] == b"MZ" else 0
        if data[pe:pe + 4] != b"PE\0\0" or struct.unpack_from("<H", data, pe + 24)[0] != 0x20B:
            raise ValueError("not a 64-bit PE file")
        self.machine, sections = struct.unpack_from("<HH", data, pe + 4)
        self.dll = bool(struct.unpack_from("<H", data, pe + 22)[0] & 0x2000)
        self.subsystem = struct.unpack_from("<H", data, pe + 24 + 68)[0]
        self.directory = struct.unpack_from("<32I", data, pe + 24 + 112)[0::2]  # addresses
        table = pe + 24 + struct.unpack_from("<H", data, pe + 20)[0]
        self.sections = [struct.unpack_from("<8xIIII", data, table + 40 * i) for i in range(sections)]

    def at(self, rva, fmt="<I", offset=0):
        for virtual_size, address, raw_size, raw in self.sections:
            if address <= rva < address + max(virtual_size, raw_size):
                return struct.unpack_from(fmt, self.data, rva - address + raw + offset)
        raise ValueError(f"address {rva:#x} is in no section")

    def text(self, rva):
        name = b""
        while not name.endswith(b"\0"):
            name += self.at(rva + len(name), "<c")[0]
        return name[:-1].decode("ascii")

    def imports(self):
        rva, names = self.directory[1], []
        while rva and self.at(rva, "<I", 12)[0]:
            names.append(self.text(self.at(rva, "<I", 12)[0]))
            rva += 20
        return names

    def exports(self):
        """The exported names, and how many functions are exported (by name or by number)."""
        rva = self.directory[0]
        if not rva:
            return set(), 0
        functions, count, _, names = self.at(rva, "<IIII", 20)
        return {self.text(self.at(names, "<I", 4 * i)[0]) for i in range(count)}, functions

    def resources(self, rva=None, path=()):
        """{(type, name, language): data} from the resource tree."""
        root = self.directory[2]
        rva = root if rva is None else rva
        found = {}
        named, numbered = self.at(rva, "<HH", 12) if rva else (0, 0)
        for i in range(named + numbered):
            key, target = self.at(rva, "<II", 16 + 8 * i)
            if key & 0x80000000:
                length = self.at(root + (key & 0x7FFFFFFF), "<H")[0]
                key = bytes(self.at(root + (key & 0x7FFFFFFF), f"<{2 * length}s", 2)[0]).decode("utf-16-le")
            if target & 0x80000000:
                found.update(self.resources(root + (target & 0x7FFFFFFF), path + (key,)))
            else:
                data, size = self.at(root + target, "<II")
                found[path + (key,)] = self.at(data, f"<{size}s")[0]
        return found


def problems_of(name, arm64_path, x64_path, certificate):
    try:
        arm64, x64 = Image(arm64_path), Image(x64_path)
    except (OSError, ValueError) as error:
        return [f"{name}: {error}"]
    found = []
    if arm64.machine != 0xAA64:
        found.append(f"{name} is for machine {arm64.machine:#x}, not ARM64 (0xaa64)")
    foreign = [dll for dll in arm64.imports() if dll.lower() not in WINDOWS_DLLS]
    if foreign:
        found.append(f"{name} imports DLLs that are not Windows' own: {', '.join(foreign)}")
    (ours, functions), (theirs, twin_functions) = arm64.exports(), x64.exports()
    if ours != theirs or functions != twin_functions:
        found.append(f"{name} exports {sorted(ours - theirs)} beyond its x64 twin and lacks "
                     f"{sorted(theirs - ours)} ({functions} functions, the twin {twin_functions})")
    if not arm64.dll and arm64.subsystem != x64.subsystem:
        found.append(f"{name} has subsystem {arm64.subsystem}, its x64 twin {x64.subsystem}")
    ours, theirs = arm64.resources(), x64.resources()
    same = lambda key: ours.get(key) == theirs.get(key) or key[0] == RT_DIALOG and \
        key in ours and key in theirs and dialog_text(ours[key]) == dialog_text(theirs[key])
    differing = sorted(str(key) for key in ours.keys() | theirs.keys() if not same(key))
    if not ours or differing:
        found.append(f"{name}'s resources differ from its x64 twin's: {', '.join(differing) or 'none'}")
    return found + signature_problems(name, arm64_path, certificate)


def signature_problems(name, path, certificate):
    if subprocess.run(["osslsigncode", "verify", "-in", path, "-CAfile", certificate],
                      capture_output=True).returncode != 0:
        return [f"{name} does not verify against {certificate}"]
    return []


def payload(setup, folder):
    """{file name: [paths]} of everything the setup carries (7-Zip numbers same-named files)."""
    subprocess.run(["7z", "x", "-aou", "-y", f"-o{folder}", setup], check=True, capture_output=True)
    found = {}
    for root, _, files in os.walk(folder):
        for file in files:
            name = re.sub(r"_\d+(\.[^.]+)$", r"\1", file)
            found.setdefault(name, []).append(os.path.join(root, file))
    return found


def program_problems(name, paths, certificate):
    images = []
    for path in paths:
        try:
            images.append((path, Image(path)))
        except (OSError, ValueError) as error:
            return [f"{name}: {error}"]
    arm64 = [path for path, image in images if image.machine == 0xAA64]
    x64 = [path for path, image in images if image.machine == 0x8664]
    if not arm64 or not x64 or len(arm64) + len(x64) != len(images):
        return [f"{name}: {len(x64)} x64 and {len(arm64)} ARM64 images of {len(images)}, "
                "expected an x64 and an ARM64 one and nothing else"]
    found = []
    for path in arm64:
        found += problems_of(name, path, x64[0], certificate)
    return found


def package_problems(name, paths):
    seen = {}
    for path in paths:
        with zipfile.ZipFile(path) as archive:
            manifest = archive.read("AppxManifest.xml").decode("utf-8")
        root = ElementTree.fromstring(manifest)
        identity = root.find("{http://schemas.microsoft.com/appx/manifest/foundation/windows10}Identity")
        architecture = identity.get("ProcessorArchitecture")
        seen[architecture] = re.sub(r'ProcessorArchitecture="[^"]*"', "", manifest)
    found = []
    if sorted(seen) != ["arm64", "x64"] or len(paths) != 2:
        found.append(f"{name}: packages for {sorted(seen)} ({len(paths)} files), expected x64 and arm64")
    elif seen["arm64"] != seen["x64"]:
        found.append(f"{name}: the arm64 package's manifest differs from the x64 one's beyond its architecture")
    return found


def main(certificate, setup):
    with tempfile.TemporaryDirectory() as folder:
        carried = payload(setup, folder)
        failures = []
        for name in ("Wendrift.dll", "WendriftConfig.exe"):
            failures += program_problems(name, carried.get(name, []), certificate)
        packages = sorted(name for name in carried if name.lower().endswith(".msix"))
        if not packages:
            failures.append("no packages in the setup")
        for name in packages:
            for path in carried[name]:
                failures += signature_problems(name, path, certificate)
            failures += package_problems(name, carried[name])
        print("\n".join("FAIL: " + failure for failure in failures) or
              f"ok: x64 and ARM64 twins of Wendrift.dll, WendriftConfig.exe, {', '.join(packages)}")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
