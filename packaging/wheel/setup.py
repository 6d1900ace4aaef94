"""The wheel's tag: any Python 3 (the module uses ctypes only), no ABI, and the
platform of the library inside it, read from the library's own header (an ELF
x86-64 shared object: linux_x86_64; a PE DLL for AMD64: win_amd64)."""

import os
import struct

from setuptools import Distribution, setup
from wheel.bdist_wheel import bdist_wheel


def library_platform():
    here = os.path.join(os.path.dirname(os.path.abspath(__file__)), "grouper")
    for name, machines in (("libgrouper.so.1", {0x3E: "linux_x86_64"}),
                           ("grouper.dll", {0x8664: "win_amd64"})):
        path = os.path.join(here, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                head = f.read(4096)
            at = 18 if name.endswith(".1") else struct.unpack_from("<I", head, 0x3C)[0] + 4
            machine = struct.unpack_from("<H", head, at)[0]
            if machine not in machines:
                raise SystemExit(f"{path}: a library for machine {machine:#x}, not {machines}")
            return machines[machine]
    raise SystemExit(f"no libgrouper.so.1 or grouper.dll in {here}")


class NativeLibraryInside(Distribution):
    """A distribution with a native library: its files go to platlib, at the
    wheel's root (Root-Is-Purelib: false)."""

    def has_ext_modules(self):
        return True


class platform_wheel(bdist_wheel):
    def get_tag(self):
        return "py3", "none", library_platform()


setup(distclass=NativeLibraryInside, cmdclass={"bdist_wheel": platform_wheel})
