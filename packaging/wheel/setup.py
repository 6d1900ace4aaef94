"""What pyproject.toml leaves to setuptools: the package with its library, the
version (the module's __version__), and the wheel's tag: any Python 3 (the
module uses ctypes only), no ABI, and the platform of the library inside it,
read from the library's own header (an ELF x86-64 shared object:
linux_x86_64; a PE DLL for AMD64: win_amd64)."""

import os
import re
import struct

from setuptools import Distribution, setup
from wheel.bdist_wheel import bdist_wheel

HERE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "grouper")


def version():
    with open(os.path.join(HERE, "__init__.py"), encoding="utf-8") as f:
        return re.search(r'^__version__ = "([^"]+)"', f.read(), re.M)[1]


def library_platform():
    for name, machines in (("libgrouper.so.1", {0x3E: "linux_x86_64"}),
                           ("grouper.dll", {0x8664: "win_amd64"})):
        path = os.path.join(HERE, name)
        if os.path.exists(path):
            with open(path, "rb") as f:
                head = f.read(4096)
            at = 18 if name.endswith(".1") else struct.unpack_from("<I", head, 0x3C)[0] + 4
            machine = struct.unpack_from("<H", head, at)[0]
            if machine not in machines:
                raise SystemExit(f"{path}: a library for machine {machine:#x}, not {machines}")
            return machines[machine]
    raise SystemExit(f"no libgrouper.so.1 or grouper.dll in {HERE}")


class NativeLibraryInside(Distribution):
    """A distribution with a native library: its files go to platlib, at the
    wheel's root (Root-Is-Purelib: false)."""

    def has_ext_modules(self):
        return True


class platform_wheel(bdist_wheel):
    def get_tag(self):
        return "py3", "none", library_platform()


setup(
    version=version(),
    packages=["grouper"],
    package_data={"grouper": ["libgrouper.so.1", "grouper.dll"]},
    license_files=["LICENSE"],
    distclass=NativeLibraryInside,
    cmdclass={"bdist_wheel": platform_wheel},
)
