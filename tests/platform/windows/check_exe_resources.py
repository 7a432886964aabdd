#!/usr/bin/env python3
"""Reads the resources back out of a built Windows program: its icon (compared with the
picture it was made from), its version information and its manifest.

Usage: check_exe_resources.py prize-wheel.exe icon.png version
Prints what it found; exits 1 naming every resource that is missing or wrong.
"""
import os
import struct
import subprocess
import sys
import tempfile
import xml.etree.ElementTree as ET

RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24


def resources(path):
    """{type: {name: bytes}} of the first language of each resource; names are ints or str."""
    image = open(path, "rb").read()
    pe = struct.unpack_from("<I", image, 0x3C)[0]
    if image[pe:pe + 4] != b"PE\0\0":
        raise ValueError("not a PE file")
    sections, optional_size = struct.unpack_from("<H12xH", image, pe + 6)
    optional = pe + 24
    magic = struct.unpack_from("<H", image, optional)[0]
    directories = optional + (112 if magic == 0x20B else 96)
    rsrc_rva, rsrc_size = struct.unpack_from("<II", image, directories + 2 * 8)
    if rsrc_size == 0:
        return {}
    table = optional + optional_size

    def offset(rva):
        for i in range(sections):
            vsize, vaddr, rawsize, rawptr = struct.unpack_from("<IIII", image, table + 40 * i + 8)
            if vaddr <= rva < vaddr + max(vsize, rawsize):
                return rawptr + rva - vaddr
        raise ValueError(f"RVA {rva:#x} in no section")

    base = offset(rsrc_rva)

    def entries(directory):
        named, ids = struct.unpack_from("<HH", image, base + directory + 12)
        for i in range(named + ids):
            name, target = struct.unpack_from("<II", image, base + directory + 16 + 8 * i)
            if name & 0x80000000:
                at = base + (name & 0x7FFFFFFF)
                length = struct.unpack_from("<H", image, at)[0]
                name = image[at + 2:at + 2 + 2 * length].decode("utf-16-le")
            yield name, target

    def leaf(target):
        while target & 0x80000000:  # the first language below a name
            target = next(entries(target & 0x7FFFFFFF))[1]
        rva, size = struct.unpack_from("<II", image, base + target)
        return image[offset(rva):offset(rva) + size]

    return {t: {n: leaf(d) for n, d in entries(sub & 0x7FFFFFFF)} for t, sub in entries(0)}


def version_block(data, at=0):
    """(key, value, children) of one block of a version resource."""
    length, value_length, kind = struct.unpack_from("<HHH", data, at)
    end, p = at + length, at + 6
    while data[p:p + 2] != b"\0\0":
        p += 2
    key = data[at + 6:p].decode("utf-16-le")
    p = (p + 2 + 3) & ~3
    size = value_length * 2 if kind == 1 else value_length
    value = data[p:p + size]
    if kind == 1:
        value = value.decode("utf-16-le").rstrip("\0")
    p = (p + size + 3) & ~3
    children = []
    while p < end:
        child = version_block(data, p)
        children.append(child[:3])
        p = (p + child[3] + 3) & ~3
    return key, value, children, length


def version_strings(data):
    key, fixed, children, _ = version_block(data)
    assert key == "VS_VERSION_INFO", key
    signature, _, ms, ls = struct.unpack_from("<IIII", fixed)
    assert signature == 0xFEEF04BD, hex(signature)
    strings = {"(file version)": f"{ms >> 16}.{ms & 0xFFFF}.{ls >> 16}.{ls & 0xFFFF}"}
    for name, _, tables in children:
        if name == "StringFileInfo":
            for _, _, values in tables:
                strings.update({k: v for k, v, _ in values})
    return strings


def check(exe, png, version):
    problems = []
    found = resources(exe)

    # The icon: the group Qt and Explorer take, every size the shell asks for, the largest
    # the very picture it was made from.
    group = found.get(RT_GROUP_ICON, {}).get("IDI_ICON1")
    if group is None:
        problems.append("no icon group IDI_ICON1")
    else:
        count = struct.unpack_from("<H", group, 4)[0]
        icons = {}
        for i in range(count):
            w, h, _, _, _, _, _, ident = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
            icons[(w or 256, h or 256)] = found.get(RT_ICON, {}).get(ident)
        print("icon sizes:", sorted(icons))
        for size in (16, 24, 32, 48, 256):
            if icons.get((size, size)) is None:
                problems.append(f"no {size}x{size} icon")
        largest = icons.get((256, 256))
        if largest is not None:
            with tempfile.TemporaryDirectory() as tmp:
                extracted = os.path.join(tmp, "icon256.png")
                open(extracted, "wb").write(largest)
                differ = subprocess.run(["compare", "-metric", "AE", png, extracted, "null:"],
                                        capture_output=True, text=True).stderr.split()
                if not differ or differ[0] != "0":
                    problems.append(f"the 256x256 icon is not {png}: {differ}")

    if 1 not in found.get(RT_VERSION, {}):
        problems.append("no version information")
    else:
        strings = version_strings(found[RT_VERSION][1])
        print("version information:", strings)
        parts = (version.split(".") + ["0"] * 4)[:4]
        expected = {"(file version)": ".".join(parts), "FileVersion": version,
                    "ProductVersion": version, "OriginalFilename": "prize-wheel.exe",
                    "ProductName": "Prize Wheel"}
        for key, value in expected.items():
            if strings.get(key) != value:
                problems.append(f"{key} is {strings.get(key)!r}, expected {value!r}")
        if not strings.get("FileDescription"):
            problems.append("no FileDescription")

    manifest = found.get(RT_MANIFEST, {}).get(1)
    if manifest is None:
        problems.append("no manifest")
    else:
        root = ET.fromstring(manifest)
        awareness = [e.text for e in root.iter(
            "{http://schemas.microsoft.com/SMI/2016/WindowsSettings}dpiAwareness")]
        systems = [e.get("Id") for e in root.iter(
            "{urn:schemas-microsoft-com:compatibility.v1}supportedOS")]
        print("manifest: dpiAwareness", awareness, "supportedOS", systems)
        if not any(a and "PerMonitorV2" in a for a in awareness):
            problems.append("the manifest declares no PerMonitorV2 awareness")
        if "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}" not in systems:
            problems.append("the manifest declares no Windows 10/11 compatibility")

    for p in problems:
        print("FAIL:", p, file=sys.stderr)
    return not problems


if __name__ == "__main__":
    sys.exit(0 if check(*sys.argv[1:4]) else 1)
