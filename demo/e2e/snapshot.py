#!/usr/bin/env python3
"""Takes stock of a Wine prefix as flat items, one key and one text each.

  snapshot.py <wine dir> <out.json>

Items:
  reg:<key>                 a registry key (text "key")
  reg:<key>|<value name>    a value ("@" for the default), its data as "reg export" writes it
  dir:<path> / file:<path>  under drive_c, a file's text its size and SHA-1
  ini:<path>|<section>|<line>  each line of the INI files the package touches, with its count
  record:<name>             what the package's stand-in programs recorded
The registry is read with Wine's own "reg export", so it is the running
session's view and not a file the wineserver has yet to write.
"""
import hashlib
import json
import os
import subprocess
import sys
import tempfile

REGISTRY_ROOTS = [
    r"HKEY_LOCAL_MACHINE\SOFTWARE",  # HKCR of the machine is its Classes subkey
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Print",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Session Manager",
    r"HKEY_LOCAL_MACHINE\System\CurrentControlSet\Services",
    r"HKEY_CURRENT_USER\Software",
    r"HKEY_CURRENT_USER\Printers",
]
INI_FILES = ["windows/VARDEL.INI", "windows/ACME.INI"]
RECORDS = "demo-records"


def parse_reg(text):
    """Items of a REGEDIT export: keys, and values with continuation lines joined."""
    items, key, pending = {}, None, ""
    for raw in text.splitlines():
        line = pending + raw.strip() if pending else raw.rstrip()
        if line.endswith("\\") and key is not None and not line.startswith("["):
            pending = line[:-1]
            continue
        pending = ""
        if line.startswith("[") and line.endswith("]"):
            key = line[1:-1]
            items["reg:" + key] = "key"
        elif key is not None and "=" in line:
            name, data = split_value(line)
            items[f"reg:{key}|{name}"] = data
    return items


def split_value(line):
    if line.startswith("@="):
        return "@", line[2:]
    # "name"=data, where the name may hold escaped quotes.
    i, name = 1, []
    while i < len(line) and line[i] != '"':
        if line[i] == "\\" and i + 1 < len(line):
            i += 1
        name.append(line[i])
        i += 1
    return "".join(name), line[i + 2 :]


def export_registry(root):
    items = {}
    with tempfile.TemporaryDirectory() as tmp:
        path = os.path.join(tmp, "export.reg")
        windows_path = subprocess.run(
            ["wine", "winepath", "-w", path], capture_output=True, text=True
        ).stdout.strip()
        for key in REGISTRY_ROOTS:
            subprocess.run(["wine", "reg", "export", key, windows_path, "/y"], capture_output=True)
            if not os.path.exists(path):
                continue
            with open(path, "rb") as file:
                data = file.read()
            os.remove(path)
            items.update(parse_reg(data.decode("utf-16", errors="replace")))
    return items


def walk_files(drive):
    items = {}
    for top, dirs, files in os.walk(drive):
        rel_top = os.path.relpath(top, drive)
        dirs[:] = [d for d in dirs if not os.path.islink(os.path.join(top, d))]
        if rel_top == RECORDS:
            dirs[:] = []
            continue
        if rel_top != ".":
            items["dir:" + to_windows(rel_top)] = "dir"
        for name in files:
            path = os.path.join(top, name)
            if os.path.islink(path) or not os.path.isfile(path):
                continue
            digest = hashlib.sha1()
            with open(path, "rb") as file:
                for block in iter(lambda: file.read(1 << 20), b""):
                    digest.update(block)
            rel = name if rel_top == "." else os.path.join(rel_top, name)
            items["file:" + to_windows(rel)] = f"{os.path.getsize(path)} {digest.hexdigest()}"
    return items


def to_windows(rel):
    return "C:\\" + rel.replace("/", "\\")


def ini_lines(drive):
    items = {}
    for rel in INI_FILES:
        path = os.path.join(drive, rel)
        if not os.path.exists(path):
            continue
        section = ""
        with open(path, encoding="latin-1") as file:
            for line in file.read().splitlines():
                if line.startswith("["):
                    section = line.strip("[] ")
                key = f"ini:{to_windows(rel)}|{section}|{line}"
                items[key] = str(int(items.get(key, "0")) + 1)
    return items


def records(drive):
    items = {}
    folder = os.path.join(drive, RECORDS)
    for name in sorted(os.listdir(folder)) if os.path.isdir(folder) else []:
        with open(os.path.join(folder, name), encoding="latin-1") as file:
            items["record:" + name] = file.read().strip()
    return items


def snapshot(prefix):
    drive = os.path.join(prefix, "drive_c")
    items = export_registry(prefix)
    items.update(walk_files(drive))
    items.update(ini_lines(drive))
    items.update(records(drive))
    return items


if __name__ == "__main__":
    wine_dir, out = sys.argv[1], sys.argv[2]
    with open(out, "w") as file:
        json.dump(snapshot(os.path.join(wine_dir, "prefix")), file, indent=0, sort_keys=True)
