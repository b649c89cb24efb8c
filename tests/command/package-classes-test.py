#!/usr/bin/env python3
"""The class ids as Windows meets them: every class the built package's manifest declares is
created through the built library's DllGetClassObject, each menu verb names a declared class
whose command carries the verb's title, and the README spells every id of the build as it is.

  package-classes-test.py PACKAGE LIBRARY PROBE README NAME=ID...
"""
import os
import re
import subprocess
import sys
import xml.etree.ElementTree as ElementTree
import zipfile

NAMESPACES = {
    "desktop5": "http://schemas.microsoft.com/appx/manifest/desktop/windows10/5",
    "com": "http://schemas.microsoft.com/appx/manifest/com/windows10",
}
GUID = re.compile(r"[0-9A-Fa-f]{8}(?:-[0-9A-Fa-f]{4}){3}-[0-9A-Fa-f]{12}")


def windows_path(path):
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def main():
    package, library, probe, readme = sys.argv[1:5]
    built_ids = dict(entry.split("=", 1) for entry in sys.argv[5:])
    failures = []

    with zipfile.ZipFile(package) as archive:
        manifest = ElementTree.fromstring(archive.read("AppxManifest.xml"))
    classes = {c.get("Id").upper(): c.get("Path")
               for c in manifest.iterfind(".//com:SurrogateServer/com:Class", NAMESPACES)}
    verbs = {v.get("Id"): v.get("Clsid").upper()
             for v in manifest.iterfind(".//desktop5:ItemType/desktop5:Verb", NAMESPACES)}
    if not classes or not verbs:
        failures.append("the manifest declares no classes or no verbs")
    for class_id, path in classes.items():
        if path != os.path.basename(library):
            failures.append(f"class {class_id} is served by {path}, not by the library")

    tool = os.path.join(os.path.dirname(os.path.abspath(__file__)), "../../tools/wine-run.sh")
    run = subprocess.run([tool, probe, windows_path(library)] + sorted(classes),
                         capture_output=True, text=True)
    titles = dict(line.split(" ", 1) for line in run.stdout.splitlines() if " " in line)
    for class_id in sorted(classes):
        title = titles.get(class_id, "<no answer>")
        if title.startswith("failed") or title == "<no answer>":
            failures.append(f"the library does not serve the manifest's class {class_id}: {title}")
    for verb, class_id in verbs.items():
        if class_id not in classes:
            failures.append(f"verb {verb} names {class_id}, which the manifest does not declare")
        elif "Wendrift" + titles.get(class_id, "").replace(" ", "") != verb:
            failures.append(f"verb {verb} opens the command titled {titles.get(class_id)!r}")

    # Every id of the build in the README, and no near copy of one (same first group, other rest).
    with open(readme, encoding="utf-8") as text:
        written = set(GUID.findall(text.read()))
    for name, class_id in built_ids.items():
        if class_id not in written:
            failures.append(f"the README does not give the {name} class id {class_id}")
        for other in written:
            if other[:8].upper() == class_id[:8].upper() and other.upper() != class_id.upper():
                failures.append(f"the README gives {other} for the {name} class id {class_id}")

    for failure in failures:
        print("FAIL:", failure)
    if run.returncode != 0 or failures:
        print(run.stdout + run.stderr)
        return 1
    print(f"ok: {len(classes)} classes of the manifest created through the library; README ids")
    return 0


if __name__ == "__main__":
    sys.exit(main())
