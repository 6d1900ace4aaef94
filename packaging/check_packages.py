#!/usr/bin/env python3
"""The language packages as their users get them (docs/packages.md, "How they are tested").

    check_packages.py --version V [--batch GROUPER --sample GROUPER_SAMPLE] KIND PACKAGE ...
        wheel WHL --python PYTHON --source SOURCE_DIR --work DIR
        jar JAR --java JAVA --jna JNA_JAR --natives RID,... --work DIR
        nupkg NUPKG --mono MONO --xbuild XBUILD --source SOURCE_DIR --natives RID,... --work DIR

Checks what each package holds and what its package manager reads, then, where
it runs here (the Linux wheel in a new venv, the jar with `java -jar`, the
nupkg built into a .NET Framework project by xbuild and run on Mono), that it
loads the library it carries, with no variable set, and gives the batch
program's result file and console. Exit status 0, 1 on a failure, 77 when the
nupkg cannot be run for want of xbuild.
"""

import argparse
import base64
import hashlib
import os
import re
import shutil
import subprocess
import sys
import urllib.parse
import xml.etree.ElementTree as ET
import zipfile

from make_packages import (JAR_CLASS_PATH, JNA_FOLDERS, NATIVE_NAMES, PARTIAL_NOTE, cli_metadata_version,
                           manifest_fields, name_suffix, native_kind)

SKIPPED = 77
CLEAN = ("GROUPER_LIBRARY", "LD_LIBRARY_PATH", "PYTHONPATH", "CLASSPATH", "MONO_PATH")
failures = []


def check(what, ok, detail=""):
    print(("ok    " if ok else "FAIL  ") + what + ("" if ok else ": " + detail))
    if not ok:
        failures.append(what)


def clean_env(**extra):
    env = {k: v for k, v in os.environ.items() if k not in CLEAN}
    env.update(TZ="Asia/Seoul", **extra)
    return env


class Batch:
    """A generated file and the batch program's result file and console for it."""

    def __init__(self, args):
        self.work = args.work
        self.input = os.path.join(args.work, "month.in")
        generated = subprocess.run([args.sample, "--count", "3000", "--seed", "41", "--faults", "0.1"],
                                   check=True, stdout=subprocess.PIPE).stdout
        with open(self.input, "wb") as f:
            f.write(generated + b"\r\n091\x00after\r\n089 no line end")
        self.output = os.path.join(args.work, "batch.out")
        done = subprocess.run([args.batch, self.input, self.output], env=clean_env(),
                              stdout=subprocess.PIPE)
        self.console, self.status = done.stdout, done.returncode
        with open(self.output, "rb") as f:
            self.result = f.read()

    def compare(self, name, command, **run):
        """Runs COMMAND INPUT OUTPUT and compares it with the batch; gives its stderr."""
        output = os.path.join(self.work, name + ".out")
        done = subprocess.run(command + [self.input, output], stdout=subprocess.PIPE,
                              stderr=subprocess.PIPE, **run)
        result = open(output, "rb").read() if os.path.exists(output) else None
        check(f"{name}: result file, console and exit status are the batch's",
              (result, done.stdout, done.returncode) == (self.result, self.console, self.status),
              f"exit status {done.returncode}: {done.stderr.decode(errors='replace')[-600:]}")
        return done.stderr.decode("utf-8", "replace")


def as_url(path):
    """The ways a JVM writes a file's path in a URL: as it is, and with its
    blanks and other bytes quoted (a path under a folder with a blank)."""
    path = os.path.realpath(path)
    return {path, urllib.parse.quote(path)}


def check_natives(what, members, expected):
    """members: {rid: bytes} found in the package; expected: the rids it must carry."""
    check(f"{what}: the libraries for {', '.join(sorted(expected))}",
          sorted(members) == sorted(expected), f"found {sorted(members)}")
    for rid, data in members.items():
        check(f"{what}: {rid} is a {rid} library", native_kind(data) == rid, str(native_kind(data)))


def check_wheel(args):
    name = os.path.basename(args.package)
    platform = name[: -len(".whl")].rsplit("-", 1)[1]
    rid, library = {"linux_x86_64": ("linux-x64", "libgrouper.so.1"),
                    "win_amd64": ("win-x64", "grouper.dll")}[platform]
    info = f"grouper-{args.version}.dist-info/"
    with zipfile.ZipFile(args.package) as z:
        names = set(z.namelist())
        wanted = {"grouper/__init__.py", "grouper/" + library,
                  *(info + n for n in ("METADATA", "WHEEL", "RECORD", "LICENSE", "top_level.txt"))}
        check("wheel: its files", names == wanted, f"{sorted(names ^ wanted)}")
        wheel = z.read(info + "WHEEL").decode()
        check("wheel: tag and platlib", f"Tag: py3-none-{platform}\n" in wheel and
              "Root-Is-Purelib: false\n" in wheel, wheel)
        metadata = z.read(info + "METADATA").decode()
        check("wheel: METADATA names grouper and the version",
              f"Name: grouper\nVersion: {args.version}\n" in metadata, metadata[:300])
        # pip checks the hashes of what it installs; the Windows wheel is not installed here.
        recorded = {}
        for line in z.read(info + "RECORD").decode().splitlines():
            path, digest, _ = line.rsplit(",", 2)
            recorded[path] = digest
        hashes = {n: "sha256=" + base64.urlsafe_b64encode(hashlib.sha256(z.read(n)).digest())
                  .rstrip(b"=").decode() for n in names if n != info + "RECORD"}
        check("wheel: RECORD holds every file's hash", recorded == {**hashes, info + "RECORD": ""})
        module = open(os.path.join(args.source, "python", "grouper", "__init__.py"), "rb").read()
        check("wheel: the module as in the tree", z.read("grouper/__init__.py") == module)
        check_natives("wheel", {rid: z.read("grouper/" + library)}, [rid])
    if not (sys.platform.startswith("linux") and platform == "linux_x86_64"):
        return

    batch = Batch(args)
    venv = os.path.join(args.work, "venv")
    shutil.rmtree(venv, ignore_errors=True)
    subprocess.run([args.python, "-m", "venv", venv], check=True, env=clean_env())
    python = os.path.join(venv, "bin", "python")
    subprocess.run([python, "-m", "pip", "install", "--quiet", "--no-index", "--no-cache-dir",
                    args.package], check=True, env=clean_env())
    # From the work folder, with no variable: the installed module and its own library.
    done = subprocess.run([python, os.path.join(args.source, "tests", "package",
                                                "check_installed_module.py"),
                           args.version, venv, batch.input, batch.output],
                          cwd=args.work, env=clean_env(), stdout=subprocess.PIPE, stderr=subprocess.PIPE)
    check("wheel: the installed module loads its own library and answers as the batch",
          done.returncode == 0, done.stderr.decode(errors="replace"))
    print("      " + done.stdout.decode(errors="replace").strip())
    tests = subprocess.run([python, "-m", "unittest", "discover", "-s",
                            os.path.join(args.source, "python", "tests")], cwd=args.work,
                           env=clean_env(GROUPER_TEST_INSTALLED="1", GROUPER_BINARY=args.batch,
                                         GROUPER_SAMPLE=args.sample),
                           stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    check("wheel: the module's tests against the installed module", tests.returncode == 0,
          tests.stdout.decode(errors="replace")[-2000:])


def check_jar(args):
    name = os.path.basename(args.package)
    with zipfile.ZipFile(args.package) as z:
        names = z.namelist()
        check("jar: the manifest first", names[:2] == ["META-INF/", "META-INF/MANIFEST.MF"], str(names[:2]))
        manifest = manifest_fields(z.read("META-INF/MANIFEST.MF").decode())
        check("jar: Main-Class, Class-Path and version",
              (manifest.get("Main-Class"), manifest.get("Class-Path"),
               manifest.get("Implementation-Version")) == ("grouper.Main", JAR_CLASS_PATH, args.version),
              str(manifest))
        check("jar: the binding's classes", "grouper/Grouper.class" in names)
        by_folder = {f"{folder}/{NATIVE_NAMES[rid]}": rid for rid, folder in JNA_FOLDERS.items()}
        check_natives("jar", {by_folder[n]: z.read(n) for n in names if n in by_folder},
                      args.natives.split(","))
        check("jar: named for the libraries it carries",
              name == f"grouper-{args.version}{name_suffix(args.natives.split(','))}.jar", name)
        pom = z.read("META-INF/maven/grouper/grouper/pom.xml")
        properties = z.read("META-INF/maven/grouper/grouper/pom.properties").decode()
    beside = args.package[: -len(".jar")] + ".pom"
    ns = {"m": "http://maven.apache.org/POM/4.0.0"}
    project = ET.fromstring(pom)
    coordinates = [project.findtext(f"m:{k}", namespaces=ns) for k in ("groupId", "artifactId", "version")]
    with zipfile.ZipFile(args.jna) as jna:
        jna_version = manifest_fields(jna.read("META-INF/MANIFEST.MF").decode())["Bundle-Version"]
    check("jar: the POM beside it is the one inside, with the version and the JNA built with",
          open(beside, "rb").read() == pom and coordinates[2] == args.version
          and f"version={args.version}\n" in properties
          and project.findtext("m:dependencies/m:dependency/m:version", namespaces=ns) == jna_version,
          str(coordinates))

    batch = Batch(args)
    # The jar alone: JNA through the manifest's /usr/share/java/jna.jar, the
    # library from the jar (JNA says where it found it).
    for folder in ("alone", "beside"):
        shutil.rmtree(os.path.join(args.work, folder), ignore_errors=True)
        os.makedirs(os.path.join(args.work, folder))
        shutil.copy(args.package, os.path.join(args.work, folder, name))
    shutil.copy(args.jna, os.path.join(args.work, "beside", "jna.jar"))
    loaded = os.path.join(args.work, "classes.log")
    said = batch.compare("jar", [args.java, "-Djna.debug_load=true",
                                 f"-Xlog:class+load=info:file={loaded}",
                                 "-jar", os.path.join(args.work, "alone", name)],
                         cwd=args.work, env=clean_env())
    check("jar: the library the jar carries was loaded",
          any(f"Found library resource at jar:file:{path}!/linux-x86-64/libgrouper.so" in said
              for path in as_url(os.path.join(args.work, "alone", name))), said[-800:])
    check("jar: JNA from /usr/share/java/jna.jar",
          "com.sun.jna.Native source: file:/usr/share/java/jna.jar" in open(loaded).read())
    done = subprocess.run([args.java, f"-Xlog:class+load=info:file={loaded}", "-jar",
                           os.path.join(args.work, "beside", name), "--version"],
                          cwd=args.work, env=clean_env(), stdout=subprocess.PIPE)
    expected = ["com.sun.jna.Native source: file:" + path
                for path in as_url(os.path.join(args.work, "beside", "jna.jar"))]
    log = open(loaded).read()
    check("jar: JNA beside the jar", done.returncode == 0 and any(e in log for e in expected),
          done.stdout.decode(errors="replace"))


def check_nupkg(args):
    natives = args.natives.split(",")
    with zipfile.ZipFile(args.package) as z:
        names = set(z.namelist())
        properties = [n for n in names if n.startswith("package/services/metadata/core-properties/")]
        framework = "net45"
        wanted = {"[Content_Types].xml", "_rels/.rels", "Grouper.nuspec", "build/Grouper.targets",
                  f"lib/{framework}/Grouper.dll", *properties,
                  *(f"runtimes/{rid}/native/{NATIVE_NAMES[rid]}" for rid in natives)}
        check("nupkg: its files", names == wanted and len(properties) == 1, f"{sorted(names ^ wanted)}")
        types = ET.fromstring(z.read("[Content_Types].xml"))
        typed = {d.get("Extension") for d in types}
        check("nupkg: a content type for every file",
              {n.rsplit(".", 1)[1] for n in names - {"[Content_Types].xml"}} <= typed, str(typed))
        targets = {r.get("Target").lstrip("/") for r in ET.fromstring(z.read("_rels/.rels"))}
        check("nupkg: the relationships name the nuspec and the properties",
              targets == {"Grouper.nuspec", *properties}, str(targets))
        nuspec = ET.fromstring(z.read("Grouper.nuspec"))
        ns = {"n": "http://schemas.microsoft.com/packaging/2013/05/nuspec.xsd"}
        meta = {e.tag.split("}")[1]: e for e in nuspec.find("n:metadata", ns)}
        groups = [g.get("targetFramework") for g in meta["dependencies"]]
        check("nupkg: the nuspec's id, version, license expression and framework (the lib folder's)",
              [meta[k].text for k in ("id", "version", "license")] == ["Grouper", args.version, "Apache-2.0"]
              and meta["license"].get("type") == "expression" and groups == [".NETFramework4.5"],
              str(groups))
        partial = len(natives) < len(NATIVE_NAMES)
        check("nupkg: a package without every platform's library says so in its description and name",
              (PARTIAL_NOTE in meta["description"].text, os.path.basename(args.package))
              == (partial, f"Grouper.{args.version}{name_suffix(natives)}.nupkg"),
              meta["description"].text)
        assembly = z.read(f"lib/{framework}/Grouper.dll")
        target = re.search(rb"\.NETFramework,Version=v([0-9.]+)", assembly)
        check("nupkg: the assembly is for .NET Framework 4.5, as its folder says",
              cli_metadata_version(assembly) == "v4.0.30319" and target and target[1] == b"4.5")
        check_natives("nupkg", {n.split("/")[1]: z.read(n) for n in names if n.startswith("runtimes/")},
                      natives)
        package = os.path.join(args.work, "package")
        shutil.rmtree(package, ignore_errors=True)
        z.extractall(package)
    if not args.xbuild:
        print("skipped: the run (no xbuild: apt-get install mono-xbuild)")
        sys.exit(1 if failures else SKIPPED)

    # A .NET Framework project as packages.config makes it: the package's
    # assembly referenced, its build/Grouper.targets imported; the program is
    # the binding's command.
    app = os.path.join(args.work, "app")
    shutil.rmtree(app, ignore_errors=True)
    os.makedirs(app)
    sources = os.path.join(args.source, "bindings", "dotnet")
    with open(os.path.join(app, "App.csproj"), "w") as f:
        f.write(f"""<?xml version="1.0" encoding="utf-8"?>
<Project ToolsVersion="14.0" DefaultTargets="Build" xmlns="http://schemas.microsoft.com/developer/msbuild/2003">
  <PropertyGroup>
    <OutputType>Exe</OutputType>
    <TargetFrameworkVersion>v4.5</TargetFrameworkVersion>
    <AssemblyName>grouper-dotnet</AssemblyName>
  </PropertyGroup>
  <ItemGroup>
    <Compile Include="{sources}/GrouperCommand.cs" />
    <Compile Include="{sources}/ResultFile.cs" />
    <Compile Include="{sources}/Interruptions.cs" />
    <Compile Include="{sources}/Reasons.cs" />
    <Reference Include="System" />
    <Reference Include="Grouper">
      <HintPath>..\\package\\lib\\{framework}\\Grouper.dll</HintPath>
    </Reference>
  </ItemGroup>
  <Import Project="$(MSBuildToolsPath)\\Microsoft.CSharp.targets" />
  <Import Project="..\\package\\build\\Grouper.targets" />
</Project>
""")
    batch = Batch(args)
    library = {rid: os.path.join(package, "runtimes", rid, "native", NATIVE_NAMES[rid]) for rid in natives}
    for platform, bitness in (("/p:Prefer32Bit=true", "x86"), ("/p:PlatformTarget=x64", "x64")):
        out = os.path.join(app, "bin-" + bitness)
        # Debian's Mono has no reference assemblies: the compiler takes its own.
        built = subprocess.run([args.xbuild, "/nologo", "/v:minimal", platform,
                                "/p:NoStdLib=false", "/p:NoCompilerStandardLib=false",
                                f"/p:OutputPath={out}/", "App.csproj"], cwd=app,
                               stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        check(f"nupkg: the project built for {platform}", built.returncode == 0,
              built.stdout.decode(errors="replace")[-1500:])
        expected = {"grouper-dotnet.exe": None, "Grouper.dll": os.path.join(package, "lib", framework, "Grouper.dll")}
        for rid, folder in (("win-x86", "x86"), ("win-x64", "x64")):
            if rid in library:
                expected[f"{folder}/grouper.dll"] = library[rid]
        if "win-" + bitness in library:
            expected["grouper.dll"] = library["win-" + bitness]
        if "linux-x64" in library:
            expected["libgrouper.so"] = library["linux-x64"]
        found = {os.path.relpath(os.path.join(d, f), out) for d, _, fs in os.walk(out) for f in fs
                 if not f.endswith((".mdb", ".pdb"))}
        check(f"nupkg: {platform}: the program and the libraries beside it", found == set(expected),
              f"{sorted(found ^ set(expected))}")
        for file, source in expected.items():
            if source and file in found:
                check(f"nupkg: {platform}: {file} is the package's {os.path.relpath(source, package)}",
                      open(os.path.join(out, file), "rb").read() == open(source, "rb").read())
    batch.compare("nupkg", [args.mono, os.path.join(app, "bin-x86", "grouper-dotnet.exe")],
                  cwd=args.work, env=clean_env())


def main():
    parser = argparse.ArgumentParser(description=__doc__.split("\n")[0])
    parser.add_argument("--version", required=True)
    parser.add_argument("--batch")
    parser.add_argument("--sample")
    commands = parser.add_subparsers(dest="kind", required=True)
    kinds = {kind: commands.add_parser(kind) for kind in ("wheel", "jar", "nupkg")}
    for kind, command in kinds.items():
        command.add_argument("package")
        command.add_argument("--work", required=True)
    kinds["wheel"].add_argument("--python", required=True)
    kinds["jar"].add_argument("--java", required=True)
    kinds["jar"].add_argument("--jna", required=True)
    kinds["nupkg"].add_argument("--mono", required=True)
    kinds["nupkg"].add_argument("--xbuild", default="")
    for kind in ("wheel", "nupkg"):
        kinds[kind].add_argument("--source", required=True)
    for kind in ("jar", "nupkg"):
        kinds[kind].add_argument("--natives", required=True)
    args = parser.parse_args()
    args.package, args.work = os.path.abspath(args.package), os.path.abspath(args.work)
    os.makedirs(args.work, exist_ok=True)
    {"wheel": check_wheel, "jar": check_jar, "nupkg": check_nupkg}[args.kind](args)
    print(f"{args.kind}: {'FAILED: ' + ', '.join(failures) if failures else 'all checks passed'}")
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
