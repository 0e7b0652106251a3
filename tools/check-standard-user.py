#!/usr/bin/env python3
"""Checks that Windows runs a program for a standard user without asking for an administrator
and with its writes to its own folder redirected to the user's VirtualStore.

usage: check-standard-user.py EXE_FILE

On Vista and later a 32-bit program whose manifest declares no requestedExecutionLevel runs
with file virtualization: a standard user's writes to the program folder under Program Files
go to the user's VirtualStore copy of it. A declared level, even asInvoker, turns that off, and
every save into the folder fails. Without a declared level, Windows takes a program for a
set-up program (and asks for an administrator) when its file name or a string of its version
resource contains one of the words below. The check reads the embedded manifest (resource
type 24, id 1) and the version resource (type 16, id 1), and fails on either; it fails too
when it finds no manifest or no version strings, rather than pass on nothing.
"""
import importlib.util
import os
import re
import struct
import sys

RT_VERSION, RT_MANIFEST = 16, 24
SETUP_WORDS = ("setup", "install", "update", "patch")

_source = importlib.util.spec_from_file_location(
    "check_pe_resource", os.path.join(os.path.dirname(os.path.abspath(__file__)), "check-pe-resource.py"))
pe_resource = importlib.util.module_from_spec(_source)
_source.loader.exec_module(pe_resource)


def version_strings(data):
    """The (name, value) pairs of the strings of a VS_VERSIONINFO resource: the blocks below
    VS_VERSION_INFO, StringFileInfo and a string table (depth 3)."""
    found = []

    def blocks(at, end, depth):
        while at + 6 <= end:
            length, value_length, kind = struct.unpack_from("<HHH", data, at)
            if length == 0:
                break
            stop = min(at + length, end)
            key_end = at + 6
            while key_end + 2 <= stop and data[key_end:key_end + 2] != b"\0\0":
                key_end += 2
            key = data[at + 6:key_end].decode("utf-16-le", "replace")
            value_at = (key_end + 2 + 3) & ~3
            value_size = value_length * (2 if kind == 1 else 1)  # text is counted in characters
            if depth == 3:
                found.append((key, data[value_at:value_at + value_size].decode("utf-16-le", "replace").rstrip("\0")))
            elif depth != 1 or key == "StringFileInfo":
                blocks((value_at + value_size + 3) & ~3, stop, depth + 1)
            at = (at + length + 3) & ~3

    blocks(0, len(data), 0)
    return found


def problems_of(path):
    with open(path, "rb") as f:
        pe = f.read()
    problems = []
    name = os.path.basename(path)
    for word in SETUP_WORDS:
        if word in name.lower():
            problems.append(f"the file name {name!r} contains {word!r}")
    try:
        manifest = pe_resource.find(pe, RT_MANIFEST, 1).decode("utf-8", "replace")
    except (pe_resource.PeError, struct.error) as e:
        problems.append(f"no manifest: {e}")
    else:
        if re.search(r"requestedExecutionLevel", manifest, re.IGNORECASE):
            problems.append("the manifest declares requestedExecutionLevel (it turns off file virtualization)")
    try:
        strings = version_strings(pe_resource.find(pe, RT_VERSION, 1))
    except (pe_resource.PeError, struct.error) as e:
        strings = []
        problems.append(f"no version resource: {e}")
    else:
        if not strings:
            problems.append("the version resource holds no strings")
    for key, value in strings:
        for word in SETUP_WORDS:
            if word in value.lower() or word in key.lower():
                problems.append(f"the version string {key} = {value!r} contains {word!r}")
    return problems, strings


def main(argv):
    if len(argv) != 2:
        sys.exit(__doc__.strip().splitlines()[2])
    problems, strings = problems_of(argv[1])
    for p in problems:
        print(f"{argv[1]}: {p}")
    if problems:
        return 1
    print(f"{argv[1]}: no execution level, {len(strings)} version strings without a set-up word")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
