"""Debian packages fetched at the exact versions a lock file pins, so that builds reproduce."""

import shutil
import subprocess
import sys


def pinned(lock):
    """The (package, version) pairs a lock file pins, in its order."""
    packages = []
    for line in lock.read_text(encoding="utf-8").splitlines():
        if line.strip() and not line.startswith("#"):
            name, version = line.split()
            packages.append((name, version))
    return packages


def fetch(name, version, work):
    """Downloads and unpacks one package at its pinned version; returns the unpacked folder."""
    unpacked = work / name
    debs = work / "debs"
    debs.mkdir(parents=True, exist_ok=True)
    found = [d for d in debs.glob(f"{name}_*.deb") if deb_version(d) == version]
    if not found:
        result = subprocess.run(["apt-get", "download", f"{name}={version}"], cwd=debs,
                                capture_output=True, text=True)
        found = [d for d in debs.glob(f"{name}_*.deb") if deb_version(d) == version]
        if result.returncode != 0 or not found:
            sys.exit(f"cannot download {name} {version} (run 'apt-get update' first; "
                     f"a version no longer in the archive must be re-pinned in its lock file):\n"
                     f"{result.stderr.strip()}")
    if unpacked.exists():
        shutil.rmtree(unpacked)
    subprocess.run(["dpkg-deb", "-x", str(found[0]), str(unpacked)], check=True)
    return unpacked


def deb_version(deb):
    return subprocess.run(["dpkg-deb", "-f", str(deb), "Version"], capture_output=True, text=True,
                          check=True).stdout.strip()
