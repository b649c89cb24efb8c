"""What the packing and checking scripts share: the MSIX layout that Microsoft's own packaging
library writes, and the package identity derived from the signing certificate."""
import hashlib
import re
import subprocess

BLOCK_SIZE = 64 * 1024  # each block map entry covers this much of a file, uncompressed

MANIFEST = "AppxManifest.xml"
BLOCK_MAP = "AppxBlockMap.xml"
CONTENT_TYPES = "[Content_Types].xml"
SIGNATURE = "AppxSignature.p7x"
FOOTPRINT = [MANIFEST, BLOCK_MAP, CONTENT_TYPES]  # in this order, after the payload

BLOCK_MAP_NS = "http://schemas.microsoft.com/appx/2010/blockmap"
SHA256_METHOD = "http://www.w3.org/2001/04/xmlenc#sha256"
CONTENT_TYPES_NS = "http://schemas.openxmlformats.org/package/2006/content-types"
MANIFEST_NS = "http://schemas.microsoft.com/appx/manifest/foundation/windows10"
PNG_TYPE = "image/png"
MANIFEST_TYPE = "application/vnd.ms-appx.manifest+xml"
BLOCK_MAP_TYPE = "application/vnd.ms-appx.blockmap+xml"
SIGNATURE_TYPE = "application/vnd.ms-appx.signature"

# Zip records: every entry is zip64 with a data descriptor (general purpose bit 3), and the
# fixed date and time Microsoft's library writes so that packing twice gives the same bytes.
LOCAL_HEADER = 0x04034B50
DATA_DESCRIPTOR = 0x08074B50
CENTRAL_HEADER = 0x02014B50
ZIP64_END = 0x06064B50
ZIP64_LOCATOR = 0x07064B50
END_OF_DIRECTORY = 0x06054B50
ZIP64_VERSION = 45
DESCRIPTOR_FLAG = 0x0008
STORED, DEFLATED = 0, 8
FILE_TIME, FILE_DATE = 0x6B60, 0xA2B1
LOCAL_HEADER_SIZE = 30


def payload_order(names):
    """Payload entries go first, sorted by name without regard to case."""
    return sorted(names, key=lambda name: name.lower())


def block_map_name(zip_name):
    return zip_name.replace("/", "\\")


# Attribute names as Windows writes them in a subject; OpenSSL's short names on the left.
_WINDOWS_KEYS = {"CN": "CN", "O": "O", "OU": "OU", "L": "L", "ST": "S", "C": "C",
                 "STREET": "STREET", "DC": "DC", "emailAddress": "E", "serialNumber": "SERIALNUMBER"}


def _split_unescaped(text, separator):
    parts, current, i = [], "", 0
    while i < len(text):
        if text[i] == "\\" and i + 1 < len(text):
            current += text[i:i + 2]
            i += 2
            continue
        if text[i] == separator:
            parts.append(current)
            current = ""
        else:
            current += text[i]
        i += 1
    parts.append(current)
    return parts


def _unescape_rfc2253(value):
    out, i = bytearray(), 0
    while i < len(value):
        if value[i] == "\\":
            pair = value[i + 1:i + 3]
            if re.fullmatch(r"[0-9A-Fa-f]{2}", pair):
                out.append(int(pair, 16))
                i += 3
                continue
            out += value[i + 1].encode("utf-8")
            i += 2
            continue
        out += value[i].encode("utf-8")
        i += 1
    return out.decode("utf-8")


def _windows_value(value):
    # Quoted, with inner quotes doubled, when Windows would quote it.
    if value == "" or value != value.strip() or any(c in value for c in ',+="\r\n<>#;'):
        return '"' + value.replace('"', '""') + '"'
    return value


def windows_subject(certificate, openssl="openssl"):
    """The certificate's subject as Windows writes it (and as a package's Publisher must read):
    last attribute first, "KEY=value" joined by ", "."""
    output = subprocess.run([openssl, "x509", "-noout", "-subject", "-nameopt", "RFC2253,-esc_msb",
                             "-in", certificate], check=True, capture_output=True, text=True).stdout
    rfc2253 = output.strip()
    if rfc2253.startswith("subject="):
        rfc2253 = rfc2253[len("subject="):].strip()
    parts = []
    for rdn in _split_unescaped(rfc2253, ","):
        if len(_split_unescaped(rdn, "+")) != 1:
            raise ValueError("a multi-valued name in the certificate subject is not supported: " + rdn)
        key, _, value = rdn.partition("=")
        if key not in _WINDOWS_KEYS:
            raise ValueError("unsupported attribute in the certificate subject: " + key)
        parts.append(_WINDOWS_KEYS[key] + "=" + _windows_value(_unescape_rfc2253(value)))
    return ", ".join(parts)


def self_signed(certificate, openssl="openssl"):
    """True when the certificate is its own issuer, signature included: what only a machine
    that trusts it explicitly accepts. A certificate an authority issued verifies against
    itself only with that authority's certificate beside it."""
    return subprocess.run([openssl, "verify", "-no-CApath", "-no-CAfile", "-CAfile", certificate,
                           certificate], capture_output=True).returncode == 0


def thumbprint(certificate, openssl="openssl"):
    """The certificate's SHA-1 thumbprint as Windows shows it: 40 hex digits, upper case."""
    output = subprocess.run([openssl, "x509", "-noout", "-fingerprint", "-sha1", "-in", certificate],
                            check=True, capture_output=True, text=True).stdout
    return output.strip().split("=", 1)[1].replace(":", "").upper()


def publisher_id(publisher):
    """The 13 characters Windows derives from a Publisher: the first 8 bytes of the SHA-256 of
    its UTF-16LE text, as Crockford base32 of 65 bits (the last bit zero), in lower case."""
    bits = int.from_bytes(hashlib.sha256(publisher.encode("utf-16-le")).digest()[:8], "big") << 1
    alphabet = "0123456789abcdefghjkmnpqrstvwxyz"
    return "".join(alphabet[(bits >> (5 * (12 - i))) & 31] for i in range(13))
