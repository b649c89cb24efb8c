#!/usr/bin/env python3
"""package-classes-test.py PACKAGE_FOLDER LIBRARY PROBE README NAME=ID...

The class ids as Windows meets them: each built package (x64, and ARM64 in arm64/) declares
exactly its entry's one verb and one class, the class is created through the built library's DllGetClassObject and its
command carries the entry's title; and the README spells every id of the build as it is, with
no near copy of one."""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

NS = {"desktop5": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/5",
      "com": "http://schemas.microsoft.com/appx/manifest/com/windows10"}
# What ships: one package per first-menu entry. The class ids never change (Explorer and
# installed packages know the commands by them).
EXPECTED = {
    "Wendrift.CopyTo.msix": ("WendriftCopyTo", "0BD47E4C-8821-4616-B0BD-025A6CF2E971", "Copy To"),
    "Wendrift.MoveTo.msix": ("WendriftMoveTo", "EBD9E568-BE5C-4840-A89A-1C25F77782F2", "Move To"),
}

folder, library, probe, readme = sys.argv[1:5]
wine_run = os.path.join(os.path.dirname(__file__), "../../tools/wine-run.sh")
library_path = "Z:" + os.path.abspath(library).replace("/", "\\")
run = subprocess.run([wine_run, probe, library_path] + [e[1] for e in EXPECTED.values()],
                     capture_output=True, text=True)
titles = dict(line.split(" ", 1) for line in run.stdout.splitlines() if " " in line)

failures = []
for package, (verb, class_id, title) in ((os.path.join(architecture, name), expected)
                                          for architecture in ("", "arm64")
                                          for name, expected in EXPECTED.items()):
    with zipfile.ZipFile(os.path.join(folder, package)) as archive:
        manifest = ElementTree.fromstring(archive.read("AppxManifest.xml"))
    verbs = [(v.get("Id"), v.get("Clsid").upper()) for v in manifest.iterfind(".//desktop5:Verb", NS)]
    classes = [(c.get("Id").upper(), c.get("Path")) for c in manifest.iterfind(".//com:Class", NS)]
    if verbs != [(verb, class_id)] or classes != [(class_id, os.path.basename(library))]:
        failures.append(f"{package} declares verbs {verbs} and classes {classes}, "
                        f"expected only {verb} opening {class_id} in {os.path.basename(library)}")
    if titles.get(class_id) != title:
        failures.append(f"{class_id} made through the library: {titles.get(class_id)}, expected {title!r}")
with open(readme, encoding="utf-8") as text:
    written = set(re.findall(r"[0-9A-Fa-f]{8}(?:-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}", text.read()))
for name, class_id in (entry.split("=", 1) for entry in sys.argv[5:]):
    near = [w for w in written if w[:8].upper() == class_id[:8].upper() and w != class_id]
    if class_id not in written or near:
        failures.append(f"the README does not give the {name} class id {class_id} alone: {near}")
print("\n".join("FAIL: " + failure for failure in failures) or "ok: package classes and README ids")
sys.exit(1 if failures else 0)
