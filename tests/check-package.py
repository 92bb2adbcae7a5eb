#!/usr/bin/env python3
"""Checks a dist folder that scripts/package wrote, and, given a second one
packaged from the same commit, that both hold the same bytes.

    check-package.py DIST [DIST_AGAIN]
"""
import hashlib
import json
import os
import re
import struct
import subprocess
import sys
import zipfile

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
failures = []


def check(condition, message):
    if not condition:
        failures.append(message)


def sha256(path):
    with open(path, "rb") as f:
        return hashlib.sha256(f.read()).hexdigest()


def project_version():
    with open(os.path.join(ROOT, "CMakeLists.txt")) as f:
        return re.search(r"project\(snapquery VERSION (\d+\.\d+\.\d+)[ )]", f.read()).group(1)


def file_version(image):
    """The file and product versions of a PE image's fixed version info."""
    at = image.find(struct.pack("<I", 0xFEEF04BD))
    if at < 0:
        return None
    ms, ls, pms, pls = struct.unpack_from("<4I", image, at + 8)
    quad = lambda hi, lo: "%d.%d.%d.%d" % (hi >> 16, hi & 0xFFFF, lo >> 16, lo & 0xFFFF)
    return quad(ms, ls), quad(pms, pls)


def fields(path):
    """The top-level and first-level 'Key: value' lines of a manifest."""
    values = {}
    with open(path) as f:
        for line in f:
            m = re.match(r"^[-\s]*(\w+): (.+)$", line.rstrip("\n"))
            if m:
                values.setdefault(m.group(1), m.group(2))
    return values


def msi_table(msi, table):
    """The rows of an MSI's table, as lists of texts, through msiinfo."""
    text = subprocess.run(["msiinfo", "export", msi, table], capture_output=True, text=True).stdout
    return [line.split("\t") for line in text.splitlines()[3:]]


def check_msi(msi, version):
    """What the tables say: a per-machine install of the three files into
    Program Files, a shortcut in the all-users Start menu, the upgrade code
    that finds older versions, and the start at logon only with AUTOSTART=1
    (and at removal only where it was written)."""
    properties = {row[0]: row[1] for row in msi_table(msi, "Property")}
    check(properties.get("ALLUSERS") == "1", "the MSI is not per-machine")
    check(properties.get("ProductVersion") == version, "the MSI's version is " + properties.get("ProductVersion", "-"))
    check(properties.get("UpgradeCode") == "{D5B9FBC6-0099-4CFB-94BC-2C04E165881F}", "the MSI's upgrade code changed")
    check("AUTOSTART" in properties.get("SecureCustomProperties", "").split(";"),
          "AUTOSTART does not reach a per-machine install")
    directories = {row[0]: (row[1], row[2]) for row in msi_table(msi, "Directory")}
    check(directories.get("INSTALLDIR") == ("ProgramFiles64Folder", "Snapquery"), "the MSI's folder")
    files = {row[2]: row[1] for row in msi_table(msi, "File")}
    check(sorted(files) == ["LICENSE", "README.txt", "snapquery.exe"], "the MSI holds %s" % sorted(files))
    shortcuts = [(row[1], row[2], row[3]) for row in msi_table(msi, "Shortcut")]
    check(shortcuts == [("ProgramMenuFolder", "Snapquery", files.get("snapquery.exe"))],
          "the MSI's shortcuts: %s" % shortcuts)
    components = {row[0]: row for row in msi_table(msi, "Component")}
    runs = [row for row in msi_table(msi, "Registry")
            if row[2] == r"Software\Microsoft\Windows\CurrentVersion\Run"]
    check(len(runs) == 1 and runs[0][1] == "2" and runs[0][3] == "SNQ", "the MSI's Run values: %s" % runs)
    if runs:
        component = components.get(runs[0][5], [""] * 6)
        check(component[4] == 'AUTOSTART="1"', "the Run value's condition is %r" % component[4])
        check(int(component[3] or 0) & 256, "the Run value is not written in the 64-bit view")


def check_dist(dist, version):
    base = "snapquery-%s-x64" % version
    zip_path = os.path.join(dist, base + ".zip")
    setup_path = os.path.join(dist, base + "-setup.exe")
    quad = version + ".0"

    # Every file is in SHA256SUMS with its hash, and nothing else is.
    listed = {}
    with open(os.path.join(dist, "SHA256SUMS")) as f:
        for line in f:
            digest, name = line.rstrip("\n").split("  ", 1)
            listed[name] = digest
    present = set()
    for folder, _, files in os.walk(dist):
        for name in files:
            present.add(os.path.relpath(os.path.join(folder, name), dist).replace(os.sep, "/"))
    present.discard("SHA256SUMS")
    check(set(listed) == present, "SHA256SUMS lists %s, the folder holds %s" % (sorted(listed), sorted(present)))
    for name, digest in listed.items():
        if name in present:
            check(sha256(os.path.join(dist, name)) == digest, "SHA256SUMS is wrong for " + name)

    # The zip: the three files, one time, the program of this version.
    with zipfile.ZipFile(zip_path) as archive:
        names = archive.namelist()
        check(names == ["snapquery.exe", "LICENSE", "README.txt"], "zip holds %s" % names)
        check(len({i.date_time for i in archive.infolist()}) == 1, "zip entries have different times")
        check(file_version(archive.read("snapquery.exe")) == (quad, quad),
              "zip's snapquery.exe has version %s, not %s" % (file_version(archive.read("snapquery.exe")), quad))
        with open(os.path.join(ROOT, "LICENSE"), "rb") as f:
            check(archive.read("LICENSE") == f.read(), "zip's LICENSE differs from the project's")
        readme = archive.read("README.txt").decode("utf-8")
        check(("Snapquery " + version) in readme, "README.txt does not name version " + version)
        check("\r\n" in readme and "\n" not in readme.replace("\r\n", ""), "README.txt lines do not end in CRLF")
    with open(setup_path, "rb") as f:
        check(file_version(f.read()) == (quad, quad), "the setup program's version is not " + quad)
    check_msi(os.path.join(dist, base + ".msi"), version)

    # The manifests carry this version and the hashes of these files.
    winget = os.path.join(dist, "winget")
    for name in os.listdir(winget):
        check(fields(os.path.join(winget, name)).get("PackageVersion") == version,
              "%s is not for version %s" % (name, version))
    installer = fields(os.path.join(winget, "Varnel.Snapquery.installer.yaml"))
    check(installer.get("InstallerSha256") == sha256(setup_path).upper(), "winget's InstallerSha256 is not the setup's")
    check(installer.get("InstallerUrl", "").endswith("/v%s/%s-setup.exe" % (version, base)),
          "winget's InstallerUrl is " + installer.get("InstallerUrl", "missing"))
    check(installer.get("Scope") == "user" and installer.get("Silent") == "/S", "winget's scope or switches")
    with open(os.path.join(winget, "Varnel.Snapquery.installer.yaml")) as f:
        manifest = f.read()
    msi_entry = manifest[manifest.find("Scope: machine"):]
    check(("InstallerSha256: " + sha256(os.path.join(dist, base + ".msi")).upper()) in msi_entry and
          ("/v%s/%s.msi" % (version, base)) in msi_entry, "winget has no machine-scope entry for the MSI")
    with open(os.path.join(dist, "scoop", "snapquery.json")) as f:
        scoop = json.load(f)
    check(scoop["version"] == version, "scoop's version is " + scoop["version"])
    download = scoop["architecture"]["64bit"]
    check(download["hash"] == sha256(zip_path), "scoop's hash is not the zip's")
    check(download["url"].endswith("/v%s/%s.zip" % (version, base)), "scoop's url is " + download["url"])


def main():
    version = project_version()
    check_dist(sys.argv[1], version)
    if len(sys.argv) > 2:
        with open(os.path.join(sys.argv[1], "SHA256SUMS")) as a, open(os.path.join(sys.argv[2], "SHA256SUMS")) as b:
            first, second = a.read().splitlines(), b.read().splitlines()
        for line in sorted(set(first) ^ set(second)):
            failures.append("packaged twice, differs: " + line)
    for message in failures:
        print("FAIL", message)
    print("%s: %s" % (sys.argv[1], "FAILED" if failures else "ok (version %s%s)" % (
        version, ", reproduced" if len(sys.argv) > 2 else "")))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
