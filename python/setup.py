# The wheel: the module and the shared library it calls through ctypes. The library is native
# code but no Python extension, so one wheel serves every Python 3 on the platform.
import os

from setuptools import setup
from wheel.bdist_wheel import bdist_wheel


class PlatformWheel(bdist_wheel):
    def finalize_options(self):
        super().finalize_options()
        self.root_is_pure = False

    def get_tag(self):
        _, _, platform = super().get_tag()
        return "py3", "none", platform


setup(
    name="chenggu",
    version=os.environ["CHENGGU_VERSION"],
    description="Bone-weight reading (称骨算命): lunar calendar 1645-2100 and readings",
    license="MIT",
    python_requires=">=3.8",
    packages=["chenggu"],
    package_data={"chenggu": ["libchenggu.so.1"]},
    cmdclass={"bdist_wheel": PlatformWheel},
)
