#!/usr/bin/env python3
"""The jar and the NuGet package of the bindings, each carrying the native libraries.

    make_packages.py jar --version V --classes GROUPER_JAR --jna JNA_JAR
        --native RID=PATH... --out-dir DIR
    make_packages.py nupkg --version V --assembly GROUPER_DLL --framework 4.5
        --targets GROUPER_TARGETS --native RID=PATH... --out-dir DIR
    make_packages.py redate ZIP

RID names a native library by .NET's runtime identifier: linux-x64, win-x64 or
win-x86. Each must be the binary its name says (an ELF x86-64 shared object, a
PE DLL for AMD64 or for i386), so that a DLL given for the other bitness stops
the build instead of shipping. A package carries all three unless --partial
is given; a partial one says so in its name (grouper-V-linux-x64-only.jar,
Grouper.V-linux-x64-only.nupkg) and in the NuGet description.

jar: DIR/grouper-V.jar, the classes of GROUPER_JAR with each library where JNA
looks for it (linux-x86-64/libgrouper.so, win32-x86-64/grouper.dll,
win32-x86/grouper.dll), a manifest that runs the command with `java -jar` and
finds JNA beside the jar or where Debian installs it, and Maven's description
of it (META-INF/maven/, and DIR/grouper-V.pom beside the jar).

redate: dates every entry of ZIP (a jar the JDK made) SOURCE_DATE_EPOCH, where
that is set, so that two builds of one commit install the same jar.

nupkg: DIR/Grouper.V.nupkg, the Open Packaging zip that NuGet reads: the
assembly in lib/netXY/ (the .NET Framework version it is compiled against), the
libraries in runtimes/RID/native/, build/Grouper.targets, the .nuspec and the
package's parts ([Content_Types].xml, _rels/.rels, the core properties).
"""

import argparse
import hashlib
import os
import struct
import sys
import time
import zipfile
from xml.sax.saxutils import escape

AUTHORS = "grouper developers"
LICENSE = "Apache-2.0"
SUMMARY = "Patient group codes of long-term care assessment records"
NATIVE_NAMES = {"linux-x64": "libgrouper.so", "win-x64": "grouper.dll", "win-x86": "grouper.dll"}
JNA_FOLDERS = {"linux-x64": "linux-x86-64", "win-x64": "win32-x86-64", "win-x86": "win32-x86"}
# JNA beside the jar, and Debian's (libjna-java) wherever the jar lies.
JAR_CLASS_PATH = "jna.jar /usr/share/java/jna.jar"
MAVEN_GROUP = "grouper"


def u16(data, at):
    return struct.unpack_from("<H", data, at)[0]


def u32(data, at):
    return struct.unpack_from("<I", data, at)[0]


def pe_header(data):
    """The offset of a PE file's "PE\\0\\0" signature, or None for another file."""
    if data[:2] != b"MZ" or len(data) < 0x40:
        return None
    at = u32(data, 0x3C)
    return at if data[at : at + 4] == b"PE\0\0" else None


def cli_metadata_version(data):
    """The runtime version a .NET assembly's metadata names ("v4.0.30319"), or
    None for a file that is no .NET assembly."""
    pe = pe_header(data)
    if pe is None:
        return None
    optional = pe + 24
    directories = optional + (96 if u16(data, optional) == 0x10B else 112)
    cli_rva = u32(data, directories + 14 * 8)  # the CLI header's data directory
    if cli_rva == 0:
        return None
    sections = optional + u16(data, pe + 20)

    def offset(rva):
        for s in range(sections, sections + 40 * u16(data, pe + 6), 40):
            start, size, raw = u32(data, s + 12), u32(data, s + 16), u32(data, s + 20)
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("RVA %#x lies in no section" % rva)

    root = offset(u32(data, offset(cli_rva) + 8))
    if data[root : root + 4] != b"BSJB":
        return None
    length = u32(data, root + 12)
    return data[root + 16 : root + 16 + length].rstrip(b"\0").decode("ascii")


def native_kind(data):
    """The runtime identifier of a native shared library (linux-x64, win-x64,
    win-x86), or None for any other file (a .NET assembly included)."""
    if data[:4] == b"\x7fELF" and data[4] == 2 and u16(data, 16) == 3:  # 64-bit, shared
        return {0x3E: "linux-x64"}.get(u16(data, 18))
    pe = pe_header(data)
    if pe is None or not u16(data, pe + 22) & 0x2000 or cli_metadata_version(data):
        return None  # not a DLL, or a managed one
    return {0x8664: "win-x64", 0x14C: "win-x86"}.get(u16(data, pe + 4))


def natives(pairs, partial):
    """{rid: bytes} of the --native RID=PATH arguments, each checked; every
    platform's unless `partial`."""
    found = {}
    for pair in pairs:
        rid, _, path = pair.partition("=")
        if rid not in NATIVE_NAMES:
            sys.exit("unknown runtime identifier %r (%s)" % (rid, ", ".join(NATIVE_NAMES)))
        with open(path, "rb") as f:
            data = f.read()
        if native_kind(data) != rid:
            sys.exit("%s is no %s library (it is %s)" % (path, rid, native_kind(data)))
        found[rid] = data
    absent = [rid for rid in NATIVE_NAMES if rid not in found]
    if absent and not partial:
        sys.exit("the packages carry the libraries for %s: none given for %s (--partial makes a "
                 "package without them, named for what it carries)" % (", ".join(NATIVE_NAMES),
                                                                     ", ".join(absent)))
    return found


def name_suffix(libraries):
    """"" for a package with every platform's library, else "-<rid>+...-only"."""
    if len(libraries) == len(NATIVE_NAMES):
        return ""
    return "-" + "+".join(sorted(libraries)) + "-only"


def zip_stamp():
    """The time a zip's entries carry: SOURCE_DATE_EPOCH where it is set (a
    build that can be repeated bit for bit), else now; 1980 at the earliest."""
    return time.gmtime(max(int(os.environ.get("SOURCE_DATE_EPOCH", time.time())), 315532800))


def redate(path):
    """Dates every entry of the zip at `path` SOURCE_DATE_EPOCH, keeping its
    order, contents and attributes (a jar made by the JDK's jar tool carries
    the time it was made); nothing where the variable is not set."""
    if "SOURCE_DATE_EPOCH" not in os.environ:
        return
    stamp = zip_stamp()
    with zipfile.ZipFile(path) as z:
        entries = [(info, z.read(info)) for info in z.infolist()]
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w") as z:
        for info, data in entries:
            info.date_time = stamp[:6]
            info.extra = b""  # the jar tool's extended time stamps
            z.writestr(info, data)
    os.replace(partial, path)


def write_zip(path, entries):
    """Writes the (name, bytes) entries, in order and compressed, dated by zip_stamp."""
    stamp = zip_stamp()
    partial = path + ".partial"
    with zipfile.ZipFile(partial, "w", zipfile.ZIP_DEFLATED) as z:
        for name, data in entries:
            info = zipfile.ZipInfo(name, stamp[:6])
            info.compress_type = zipfile.ZIP_DEFLATED
            info.external_attr = (0o40755 if name.endswith("/") else 0o100644) << 16
            z.writestr(info, data)
    os.replace(partial, path)


def manifest_fields(text):
    """A jar manifest's main section as a dict (continuation lines joined)."""
    fields, last = {}, None
    for line in text.replace("\r\n", "\n").split("\n"):
        if not line:
            break
        if line.startswith(" ") and last:
            fields[last] += line[1:]
        else:
            last, _, value = line.partition(": ")
            fields[last] = value
    return fields


def pom(version, jna_version):
    return f"""<?xml version="1.0" encoding="UTF-8"?>
<project xmlns="http://maven.apache.org/POM/4.0.0"
         xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
         xsi:schemaLocation="http://maven.apache.org/POM/4.0.0 https://maven.apache.org/xsd/maven-4.0.0.xsd">
  <modelVersion>4.0.0</modelVersion>
  <groupId>{MAVEN_GROUP}</groupId>
  <artifactId>grouper</artifactId>
  <version>{version}</version>
  <packaging>jar</packaging>
  <name>grouper</name>
  <description>{SUMMARY}: the Java binding of libgrouper, with the native library inside.</description>
  <licenses>
    <license>
      <name>{LICENSE}</name>
      <url>https://www.apache.org/licenses/LICENSE-2.0</url>
    </license>
  </licenses>
  <dependencies>
    <dependency>
      <groupId>net.java.dev.jna</groupId>
      <artifactId>jna</artifactId>
      <version>{jna_version}</version>
    </dependency>
  </dependencies>
</project>
"""


def make_jar(args):
    libraries = natives(args.native, args.partial)
    with zipfile.ZipFile(args.jna) as jna:
        jna_version = manifest_fields(jna.read("META-INF/MANIFEST.MF").decode("utf-8"))
    jna_version = jna_version.get("Bundle-Version") or sys.exit(f"{args.jna}: no Bundle-Version")
    with zipfile.ZipFile(args.classes) as classes:
        built = manifest_fields(classes.read("META-INF/MANIFEST.MF").decode("utf-8"))
        manifest = "".join(
            f"{key}: {value}\r\n"
            for key, value in [
                ("Manifest-Version", "1.0"),
                ("Main-Class", built["Main-Class"]),
                ("Class-Path", JAR_CLASS_PATH),
                ("Implementation-Title", "grouper"),
                ("Implementation-Version", args.version),
            ]
        )
        entries = [("META-INF/", b""), ("META-INF/MANIFEST.MF", (manifest + "\r\n").encode())]
        entries += [(n, classes.read(n)) for n in classes.namelist() if not n.startswith("META-INF/")]
    folders = sorted({JNA_FOLDERS[rid] for rid in libraries})
    entries += [(folder + "/", b"") for folder in folders]
    for rid, data in sorted(libraries.items()):
        entries.append((f"{JNA_FOLDERS[rid]}/{NATIVE_NAMES[rid]}", data))
    description = pom(args.version, jna_version).encode()
    maven = f"META-INF/maven/{MAVEN_GROUP}/grouper/"
    properties = f"groupId={MAVEN_GROUP}\nartifactId=grouper\nversion={args.version}\n"
    entries += [("META-INF/maven/", b""), (f"META-INF/maven/{MAVEN_GROUP}/", b""), (maven, b""),
                (maven + "pom.xml", description), (maven + "pom.properties", properties.encode())]
    name = f"grouper-{args.version}{name_suffix(libraries)}"
    write_zip(os.path.join(args.out_dir, name + ".jar"), entries)
    with open(os.path.join(args.out_dir, name + ".pom"), "wb") as f:
        f.write(description)


PLATFORMS = {"linux-x64": "Linux x64", "win-x64": "Windows x64", "win-x86": "Windows x86"}
# The line that a package without every platform's library adds to its description.
PARTIAL_NOTE = "A narrower package, made on request: it has no native library for"
CONTENT_TYPES = {
    "rels": "application/vnd.openxmlformats-package.relationships+xml",
    "psmdcp": "application/vnd.openxmlformats-package.core-properties+xml",
}


def nuspec(version, framework, rids):
    platforms = ", ".join(PLATFORMS[rid] for rid in sorted(rids))
    absent = ", ".join(PLATFORMS[rid] for rid in sorted(PLATFORMS) if rid not in rids)
    description = escape(
        f"{SUMMARY}: the .NET binding of libgrouper (namespace PatientGroups), answering each "
        f"line as the batch program grouper does, with the native library for {platforms}."
        + (f"\n{PARTIAL_NOTE} {absent}." if absent else "")
    )
    return f"""<?xml version="1.0" encoding="utf-8"?>
<package xmlns="http://schemas.microsoft.com/packaging/2013/05/nuspec.xsd">
  <metadata>
    <id>Grouper</id>
    <version>{version}</version>
    <title>grouper</title>
    <authors>{AUTHORS}</authors>
    <requireLicenseAcceptance>false</requireLicenseAcceptance>
    <license type="expression">{LICENSE}</license>
    <licenseUrl>https://licenses.nuget.org/{LICENSE}</licenseUrl>
    <description>{description}</description>
    <copyright>2026 {AUTHORS}</copyright>
    <tags>long-term-care assessment grouper native</tags>
    <dependencies>
      <group targetFramework=".NETFramework{framework}" />
    </dependencies>
  </metadata>
</package>
"""


def make_nupkg(args):
    libraries = natives(args.native, args.partial)
    with open(args.assembly, "rb") as f:
        assembly = f.read()
    if cli_metadata_version(assembly) != "v4.0.30319":
        sys.exit(f"{args.assembly} is no .NET Framework 4 assembly")
    with open(args.targets, "rb") as f:
        targets = f.read()
    folder = "net" + args.framework.replace(".", "")
    described = nuspec(args.version, args.framework, libraries).encode()
    digest = hashlib.sha256(described).hexdigest()
    properties = f"package/services/metadata/core-properties/{digest[:32]}.psmdcp"
    files = [
        ("Grouper.nuspec", described),
        (f"lib/{folder}/Grouper.dll", assembly),
        ("build/Grouper.targets", targets),
    ]
    files += [(f"runtimes/{rid}/native/{NATIVE_NAMES[rid]}", data) for rid, data in sorted(libraries.items())]
    files.append((properties, f"""<?xml version="1.0" encoding="utf-8"?>
<coreProperties xmlns:dc="http://purl.org/dc/elements/1.1/" xmlns:dcterms="http://purl.org/dc/terms/" xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance" xmlns="http://schemas.openxmlformats.org/package/2006/metadata/core-properties">
  <dc:creator>{AUTHORS}</dc:creator>
  <dc:description>{escape(SUMMARY)}</dc:description>
  <dc:identifier>Grouper</dc:identifier>
  <version>{args.version}</version>
  <keywords>long-term-care assessment grouper native</keywords>
  <lastModifiedBy>make_packages.py</lastModifiedBy>
</coreProperties>
""".encode()))
    relationships = f"""<?xml version="1.0" encoding="utf-8"?>
<Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships">
  <Relationship Type="http://schemas.microsoft.com/packaging/2010/07/manifest" Target="/Grouper.nuspec" Id="R{digest[32:48]}" />
  <Relationship Type="http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties" Target="/{properties}" Id="R{digest[48:64]}" />
</Relationships>
"""
    extensions = sorted({name.rsplit(".", 1)[1] for name, _ in files} | {"rels"})
    types = "".join(
        f'  <Default Extension="{e}" ContentType="{CONTENT_TYPES.get(e, "application/octet")}" />\n'
        for e in extensions
    )
    content_types = f"""<?xml version="1.0" encoding="utf-8"?>
<Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types">
{types}</Types>
"""
    entries = [("_rels/.rels", relationships.encode())] + files
    entries.append(("[Content_Types].xml", content_types.encode()))
    write_zip(os.path.join(args.out_dir, f"Grouper.{args.version}{name_suffix(libraries)}.nupkg"), entries)


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    commands = parser.add_subparsers(dest="command", required=True)
    jar = commands.add_parser("jar")
    jar.add_argument("--classes", required=True)
    jar.add_argument("--jna", required=True)
    nupkg = commands.add_parser("nupkg")
    nupkg.add_argument("--assembly", required=True)
    nupkg.add_argument("--framework", required=True)
    nupkg.add_argument("--targets", required=True)
    commands.add_parser("redate").add_argument("zip")
    for command in (jar, nupkg):
        command.add_argument("--version", required=True)
        command.add_argument("--native", action="append", required=True)
        command.add_argument("--partial", action="store_true",
                             help="allow a package without every platform's library")
        command.add_argument("--out-dir", required=True)
    args = parser.parse_args()
    if args.command == "redate":
        return redate(args.zip)
    os.makedirs(args.out_dir, exist_ok=True)
    (make_jar if args.command == "jar" else make_nupkg)(args)


if __name__ == "__main__":
    main()
