# The package's build backend for pip (PEP 517): it writes the wheel itself
# with the standard library, so `pip install ./bindings/python` works offline
# on any Python with pip, with or without build isolation, and needs neither
# setuptools nor wheel. The wheel holds the quorvane folder's modules, stub
# and py.typed; name, version and the rest come from pyproject.toml. It writes
# nothing into the source folder.
import base64
import hashlib
import os
import re
import zipfile

_HERE = os.path.dirname(os.path.abspath(__file__))
_PACKAGE = "quorvane"
_SHIPPED = re.compile(r"[A-Za-z_]\w*\.pyi?\Z|py\.typed\Z")


def _project():
    """The [project] table's plain text fields, read line by line (tomllib
    arrives only with Python 3.11)."""
    fields, inside = {}, False
    with open(os.path.join(_HERE, "pyproject.toml"), encoding="utf-8") as f:
        for line in f:
            if line.startswith("["):
                inside = line.strip() == "[project]"
            match = re.match(r'([\w-]+) = "([^"]*)"\s*$', line) if inside else None
            if match:
                fields[match[1]] = match[2]
    return fields


def _dist_info(project):
    return f"{project['name']}-{project['version']}.dist-info"


def _metadata_files(project):
    metadata = (f"Metadata-Version: 2.1\nName: {project['name']}\n"
                f"Version: {project['version']}\nSummary: {project['description']}\n"
                f"Requires-Python: {project['requires-python']}\nLicense: MIT\n")
    wheel = ("Wheel-Version: 1.0\nGenerator: quorvane _build_backend\n"
             "Root-Is-Purelib: true\nTag: py3-none-any\n")
    return {"METADATA": metadata.encode(), "WHEEL": wheel.encode()}


def get_requires_for_build_wheel(config_settings=None):
    return []


def prepare_metadata_for_build_wheel(metadata_directory, config_settings=None):
    project = _project()
    folder = os.path.join(metadata_directory, _dist_info(project))
    os.makedirs(folder, exist_ok=True)
    for name, data in _metadata_files(project).items():
        with open(os.path.join(folder, name), "wb") as f:
            f.write(data)
    return _dist_info(project)


def build_wheel(wheel_directory, config_settings=None, metadata_directory=None):
    project = _project()
    files = {}
    source = os.path.join(_HERE, _PACKAGE)
    for name in sorted(os.listdir(source)):
        if _SHIPPED.match(name):
            with open(os.path.join(source, name), "rb") as f:
                files[f"{_PACKAGE}/{name}"] = f.read()
    for name, data in _metadata_files(project).items():
        files[f"{_dist_info(project)}/{name}"] = data
    # RECORD lists every file with its digest and size, itself without them.
    record = "".join(
        f"{path},sha256={base64.urlsafe_b64encode(hashlib.sha256(data).digest()).rstrip(b'=').decode()},"
        f"{len(data)}\n" for path, data in files.items())
    files[f"{_dist_info(project)}/RECORD"] = (record + f"{_dist_info(project)}/RECORD,,\n").encode()
    wheel = f"{project['name']}-{project['version']}-py3-none-any.whl"
    with zipfile.ZipFile(os.path.join(wheel_directory, wheel), "w", zipfile.ZIP_DEFLATED) as z:
        for path, data in files.items():
            z.writestr(path, data)
    return wheel
