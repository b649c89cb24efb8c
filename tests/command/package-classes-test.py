#!/usr/bin/env python3
"""package-classes-test.py PACKAGE LIBRARY PROBE README NAME=ID...

The class ids as Windows meets them: each class the built package's manifest declares is created
through the built library's DllGetClassObject, each menu verb names one whose command carries the
verb's title, and the README spells every id of the build as it is, with no near copy of one."""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

NS = {"desktop5": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/5",
      "com": "http://schemas.microsoft.com/appx/manifest/com/windows10"}

package, library, probe, readme = sys.argv[1:5]
with zipfile.ZipFile(package) as archive:
    manifest = ElementTree.fromstring(archive.read("AppxManifest.xml"))
classes = {c.get("Id").upper(): c.get("Path") for c in manifest.iterfind(".//com:Class", NS)}
verbs = {v.get("Id"): v.get("Clsid").upper() for v in manifest.iterfind(".//desktop5:Verb", NS)}
wine_run = os.path.join(os.path.dirname(__file__), "../../tools/wine-run.sh")
library_path = "Z:" + os.path.abspath(library).replace("/", "\\")
run = subprocess.run([wine_run, probe, library_path] + sorted(classes), capture_output=True, text=True)
titles = dict(line.split(" ", 1) for line in run.stdout.splitlines() if " " in line)

failures = [] if classes and verbs else ["the manifest declares no classes or no verbs"]
for class_id, path in classes.items():
    if path != os.path.basename(library) or titles.get(class_id, "failed").startswith("failed"):
        failures.append(f"{path} does not serve the manifest's class {class_id}: {titles.get(class_id)}")
for verb, class_id in verbs.items():
    if "Wendrift" + titles.get(class_id, "?").replace(" ", "") != verb:
        failures.append(f"verb {verb} opens class {class_id}, titled {titles.get(class_id)!r}")
with open(readme, encoding="utf-8") as text:
    written = set(re.findall(r"[0-9A-Fa-f]{8}(?:-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}", text.read()))
for name, class_id in (entry.split("=", 1) for entry in sys.argv[5:]):
    near = [w for w in written if w[:8].upper() == class_id[:8].upper() and w != class_id]
    if class_id not in written or near:
        failures.append(f"the README does not give the {name} class id {class_id} alone: {near}")
print("\n".join("FAIL: " + failure for failure in failures) or "ok: manifest classes and README ids")
sys.exit(1 if failures else 0)
