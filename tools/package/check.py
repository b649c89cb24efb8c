#!/usr/bin/env python3
"""Checks signed Wendrift packages as Windows would before registering them.

  check.py PACKAGE.msix... --certificate CERT.pem [--packages-nsis PACKAGES.nsh]

Re-derives every block hash of the block map from the zip's contents (osslsigncode verify does
not: a flipped byte with its CRC mended still verifies), checks the entry order, the zip
records, the content types, that the Publisher is the certificate's subject (and that the installer lists exactly these packages, under the publisher id
Windows derives from it), what the manifest declares beside the identity
(its namespaces, the capabilities and tested version that peers' packages declare, the logos
it names), and that osslsigncode verifies the signature against the certificate. Prints each
problem and exits 1 when there is any.
"""
import argparse
import base64
import hashlib
import re
import struct
import subprocess
import sys
import zlib
import xml.etree.ElementTree as ET

import msix


class Problems(list):
    def add(self, text):
        self.append(text)


def read_entries(data, problems):
    """The central directory's entries in order, each with its uncompressed contents."""
    if len(data) < 22 + 20 + 56:
        problems.add("the file is too short to be a package")
        return []
    signature, *_ = struct.unpack_from("<I", data, len(data) - 22)
    locator_sig, _, zip64_end, _ = struct.unpack_from("<IIQI", data, len(data) - 42)
    if signature != msix.END_OF_DIRECTORY or locator_sig != msix.ZIP64_LOCATOR:
        problems.add("no zip64 end of central directory")
        return []
    fields = struct.unpack_from("<IQHHIIQQQQ", data, zip64_end)
    if fields[0] != msix.ZIP64_END:
        problems.add("the zip64 locator points at no zip64 end record")
        return []
    count, start = fields[7], fields[9]
    entries, position = [], start
    for _ in range(count):
        head = struct.unpack_from("<IHHHHHHIIIHHHHHII", data, position)
        if head[0] != msix.CENTRAL_HEADER:
            problems.add("a central directory record is damaged")
            return entries
        method, crc, name_length, extra_length = head[4], head[7], head[10], head[11]
        name = data[position + 46:position + 46 + name_length].decode("utf-8")
        extra = data[position + 46 + name_length:position + 46 + name_length + extra_length]
        size, stored, offset = head[9], head[8], head[16]
        if len(extra) >= 28 and struct.unpack_from("<H", extra)[0] == 1:
            size, stored, offset = struct.unpack_from("<QQQ", extra, 4)
        position += 46 + name_length + extra_length + head[12]
        local = struct.unpack_from("<IHHHHHIIIHH", data, offset)
        # Our entries carry data descriptors; osslsigncode writes the signature's sizes into
        # its local header instead.
        described = bool(local[2] & msix.DESCRIPTOR_FLAG)
        if local[0] != msix.LOCAL_HEADER or (name != msix.SIGNATURE and not described):
            problems.add(f"{name}: local header missing or without a data descriptor")
            continue
        header_size = msix.LOCAL_HEADER_SIZE + local[9] + local[10]
        raw = data[offset + header_size:offset + header_size + stored]
        if described:
            descriptor = struct.unpack_from("<IIQQ", data, offset + header_size + stored)
            if descriptor != (msix.DATA_DESCRIPTOR, crc, stored, size):
                problems.add(f"{name}: data descriptor disagrees with the central directory")
        elif local[6:9] != (crc, stored, size):
            problems.add(f"{name}: local header disagrees with the central directory")
        try:
            contents = zlib.decompress(raw, -zlib.MAX_WBITS) if method == msix.DEFLATED else raw
        except zlib.error as error:
            problems.add(f"{name}: cannot be inflated ({error})")
            continue
        if len(contents) != size or zlib.crc32(contents) != crc:
            problems.add(f"{name}: size or CRC does not match its contents")
        entries.append({"name": name, "method": method, "raw": raw, "data": contents,
                        "header": local[9] + local[10] + msix.LOCAL_HEADER_SIZE})
    return entries


def check_order(entries, problems):
    names = [entry["name"] for entry in entries]
    payload = [name for name in names if name not in msix.FOOTPRINT + [msix.SIGNATURE]]
    expected = msix.payload_order(payload) + msix.FOOTPRINT + [msix.SIGNATURE]
    if names != expected:
        problems.add("entry order is %s, expected %s" % (names, expected))
    return payload


def check_block_map(entries, payload, problems):
    by_name = {entry["name"]: entry for entry in entries}
    if msix.BLOCK_MAP not in by_name:
        problems.add("no block map")
        return
    root = ET.fromstring(by_name[msix.BLOCK_MAP]["data"])
    ns = {"b": msix.BLOCK_MAP_NS}
    if root.tag != "{%s}BlockMap" % msix.BLOCK_MAP_NS or root.get("HashMethod") != msix.SHA256_METHOD:
        problems.add("the block map is not a SHA-256 block map")
    files = root.findall("b:File", ns)
    listed = [element.get("Name") for element in files]
    expected = [msix.block_map_name(name) for name in payload + [msix.MANIFEST]]
    if listed != expected:
        problems.add("the block map lists %s, expected %s" % (listed, expected))
    for element in files:
        name = element.get("Name").replace("\\", "/")
        entry = by_name.get(name)
        if entry is None:
            continue
        data = entry["data"]
        if int(element.get("Size")) != len(data) or int(element.get("LfhSize")) != entry["header"]:
            problems.add(f"{name}: Size or LfhSize in the block map is wrong")
        block_elements = element.findall("b:Block", ns)
        pieces = [data[i:i + msix.BLOCK_SIZE] for i in range(0, len(data), msix.BLOCK_SIZE)]
        if len(block_elements) != len(pieces):
            problems.add(f"{name}: {len(block_elements)} blocks listed for {len(pieces)}")
            continue
        # Each block of a deflated file is inflated from its own share of the stream, which its
        # Size gives: the whole stream inflating right is not enough.
        inflater, position = zlib.decompressobj(-zlib.MAX_WBITS), 0
        for number, (block, piece) in enumerate(zip(block_elements, pieces)):
            if entry["method"] == msix.DEFLATED:
                if block.get("Size") is None:
                    problems.add(f"{name}: block {number} of a deflated file has no Size")
                    break
                share = entry["raw"][position:position + int(block.get("Size"))]
                position += len(share)
                try:
                    piece = inflater.decompress(share)
                except zlib.error:
                    piece = b""
            elif block.get("Size") is not None:
                problems.add(f"{name}: block {number} of a stored file has a Size")
            digest = base64.b64encode(hashlib.sha256(piece).digest()).decode()
            if digest != block.get("Hash"):
                problems.add(f"{name}: block {number} does not match its block hash")


def check_content_types(entries, problems):
    types = [entry for entry in entries if entry["name"] == msix.CONTENT_TYPES]
    if not types:
        problems.add("no content types")
        return
    root = ET.fromstring(types[0]["data"])
    ns = "{%s}" % msix.CONTENT_TYPES_NS
    defaults = {e.get("Extension").lower(): e.get("ContentType") for e in root.iter(ns + "Default")}
    overrides = {e.get("PartName"): e.get("ContentType") for e in root.iter(ns + "Override")}
    wanted = {"/" + msix.BLOCK_MAP: msix.BLOCK_MAP_TYPE, "/" + msix.SIGNATURE: msix.SIGNATURE_TYPE}
    for part, content_type in wanted.items():
        if overrides.get(part) != content_type:
            problems.add(f"content type of {part} is {overrides.get(part)}, expected {content_type}")
    if defaults.get("xml") != msix.MANIFEST_TYPE or defaults.get("png") != msix.PNG_TYPE:
        problems.add("the xml and png defaults are not the manifest and image types")
    for entry in entries:
        name = entry["name"]
        if name != msix.CONTENT_TYPES and "/" + name not in overrides and \
                name.rsplit(".", 1)[-1].lower() not in defaults:
            problems.add(f"{name} has no content type")


def check_identity(entries, certificate, problems):
    """The package's name, once its Publisher is the certificate's subject."""
    manifest = [entry for entry in entries if entry["name"] == msix.MANIFEST]
    if not manifest:
        problems.add("no manifest")
        return None
    identity = ET.fromstring(manifest[0]["data"]).find("{%s}Identity" % msix.MANIFEST_NS)
    subject = msix.windows_subject(certificate)
    if identity is None or identity.get("Publisher") != subject:
        problems.add("Publisher %r is not the certificate's subject %r" % (
            None if identity is None else identity.get("Publisher"), subject))
        return None
    return identity.get("Name")


def check_installer_list(nsis, names, certificate, problems):
    """The installer registers (and asks Windows about) exactly these packages, by the family
    names Windows derives from their identities (one per entry: its architectures share it)."""
    with open(nsis, encoding="utf-8") as text:
        compiled = text.read()
    listed = re.findall(r'!insertmacro \$\{MACRO\} "([^"]+)"',
                        compiled.split("!macro ForEachPackage", 1)[-1].split("!macroend", 1)[0])
    if sorted(listed) != sorted(set(names)):
        problems.add(f"the installer lists the packages {listed}, the build made {names}")
    publisher_id = re.search(r'!define PACKAGE_PUBLISHER_ID "([^"]+)"', compiled)
    expected = msix.publisher_id(msix.windows_subject(certificate))
    if publisher_id is None or publisher_id.group(1) != expected:
        problems.add("the installer's publisher id %s is not the packages' %s" % (
            publisher_id and publisher_id.group(1), expected))


RESTRICTED_NS = "http://schemas.microsoft.com/appx/manifest/foundation/windows10/restrictedcapabilities"
CAPABILITIES = ["runFullTrust", "unvirtualizedResources"]
MAX_VERSION_TESTED = (10, 0, 26100, 0)


def check_manifest(entries, problems):
    manifest = [entry for entry in entries if entry["name"] == msix.MANIFEST]
    if not manifest:
        return
    text = manifest[0]["data"].decode("utf-8")
    root = ET.fromstring(text)
    # A prefix listed as ignorable but never declared makes Windows reject the manifest.
    declared = set(re.findall(r'xmlns:(\w+)="', text))
    ignorable = (root.get("IgnorableNamespaces") or "").split()
    for prefix in ignorable:
        if prefix not in declared:
            problems.add(f"IgnorableNamespaces names {prefix}, which the manifest does not declare")
    capabilities = [element.get("Name") for element in root.iter("{%s}Capability" % RESTRICTED_NS)]
    for name in CAPABILITIES:
        if name not in capabilities:
            problems.add(f"the restricted capability {name} is not declared")
    family = root.find("{%s}Dependencies/{%s}TargetDeviceFamily" % (msix.MANIFEST_NS, msix.MANIFEST_NS))
    tested = family.get("MaxVersionTested", "0") if family is not None else "0"
    if tuple(int(part) for part in tested.split(".")) < MAX_VERSION_TESTED:
        problems.add(f"MaxVersionTested {tested} is below {'.'.join(map(str, MAX_VERSION_TESTED))}")
    names = {entry["name"].lower() for entry in entries}
    for logo in re.findall(r'<Logo>([^<]+)</Logo>|Logo="([^"]+)"', text):
        logo = "".join(logo)
        if logo.replace("\\", "/").lower() not in names:
            problems.add(f"the logo {logo} is not in the package")


def check_signature(package, certificate, problems):
    result = subprocess.run(["osslsigncode", "verify", "-in", package, "-CAfile", certificate],
                            capture_output=True, text=True)
    if result.returncode != 0 or "Signature verification: ok" not in result.stdout:
        problems.add("osslsigncode does not verify the signature:\n" + result.stdout + result.stderr)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("packages", nargs="+")
    parser.add_argument("--certificate", required=True)
    parser.add_argument("--packages-nsis")
    args = parser.parse_args()
    failed, names = False, []
    for path in args.packages:
        problems = Problems()
        with open(path, "rb") as package:
            entries = read_entries(package.read(), problems)
        payload = check_order(entries, problems)
        check_block_map(entries, payload, problems)
        check_content_types(entries, problems)
        names.append(check_identity(entries, args.certificate, problems))
        check_manifest(entries, problems)
        check_signature(path, args.certificate, problems)
        for problem in problems:
            print(f"FAIL: {path}: {problem}")
        if not problems:
            print(f"package ok: {path}: {len(entries)} entries, every block hash, the order, the "
                  "content types, the publisher, the manifest and the signature")
        failed = failed or bool(problems)
    if args.packages_nsis:
        problems = Problems()
        check_installer_list(args.packages_nsis, names, args.certificate, problems)
        for problem in problems:
            print("FAIL: " + problem)
        failed = failed or bool(problems)
    sys.exit(1 if failed else 0)


if __name__ == "__main__":
    main()
