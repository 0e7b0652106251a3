#!/usr/bin/env python3
"""Checks that 32-bit Windows binaries import nothing that Windows XP SP3 lacks.

    check-xp-imports.py [--objdump OBJDUMP] [--nm NM] [--cc CC] FILE...
    check-xp-imports.py [--objdump OBJDUMP] [--nm NM] [--cc CC] --self-test

Every function a binary imports from a system DLL must be declared by the MinGW-w64 headers
with _WIN32_WINNT set to 0x0501 (Windows XP): one C file takes the address of each, and a
name that does not compile is a function XP does not have. Every import from the C runtime
(msvcrt.dll), function or data, must be exported by the toolchain's import library of the
Visual C++ 7.0 runtime (libmsvcr70.a): XP's msvcrt.dll carries version 7.0, and later
runtimes added names (_wfopen_s, _atoi_l) that XP's lacks; a name outside it passes only when
it is on the reviewed list below. A kernel driver's imports from ntoskrnl.exe and hal.dll are
checked against a reviewed list too, and a DLL that XP does not ship fails whatever it
provides.

--self-test builds a small program with the toolchain's posix thread model, whose runtime
imports GetTickCount64 (Vista and later), and one that imports _wfopen_s from msvcrt.dll,
and checks that both fail; it also checks that a driver import the list does not hold fails.
"""
import argparse
import os
import re
import subprocess
import sys
import tempfile

RUNTIME = "msvcrt.dll"
# The closest list of XP's msvcrt.dll exports that the toolchain has.
RUNTIME_LIST = "libmsvcr70.a"
# C runtime names that XP SP3's msvcrt.dll exports although libmsvcr70.a does not list them.
# Reviewed by hand: add a name only with how it was seen in XP SP3's msvcrt.dll.
XP_RUNTIME_EXTRAS = {}

# User-mode DLLs that Windows XP SP3 ships with.
XP_DLLS = {
    "kernel32.dll", "user32.dll", "gdi32.dll", "advapi32.dll", "comdlg32.dll", "comctl32.dll",
    "ole32.dll", "oleaut32.dll", "shell32.dll", "shlwapi.dll", "winmm.dll", "version.dll",
    "dinput8.dll", "setupapi.dll", "uxtheme.dll",
}

# Kernel routines the driver may import: each exists in the Windows XP kernel. Reviewed by
# hand; add a routine only after checking that XP SP3's ntoskrnl.exe or hal.dll exports it.
KERNEL_DLLS = {"ntoskrnl.exe", "hal.dll"}
XP_KERNEL_ROUTINES = {
    "IoCreateDevice", "IoCreateSymbolicLink", "IoDeleteDevice", "IoDeleteSymbolicLink",
    "IoGetCurrentProcess", "IofCompleteRequest", "MmAllocateNonCachedMemory",
    "MmFreeNonCachedMemory", "MmGetSystemRoutineAddress", "MmMapIoSpace", "MmUnmapIoSpace",
    "RtlInitUnicodeString",
}

# Headers that declare what the program and the control import.
HEADERS = [
    "windows.h", "commctrl.h", "commdlg.h", "ole2.h", "olectl.h", "ocidl.h", "oleauto.h",
    "shellapi.h", "shlobj.h", "shlwapi.h", "mmsystem.h", "winver.h", "dinput.h", "setupapi.h",
    "winioctl.h", "uxtheme.h",
]
XP_DEFINES = ["-D_WIN32_WINNT=0x0501", "-DWINVER=0x0501", "-D_WIN32_IE=0x0600",
              "-DDIRECTINPUT_VERSION=0x0800"]


def imports_of(dump):
    """{dll (lower case): [function name or '#ordinal', ...]} from `objdump -p` output."""
    found = {}
    dll = None
    for line in dump.splitlines():
        m = re.match(r"\s*DLL Name:\s*(\S+)", line)
        if m:
            dll = m.group(1).lower()
            found.setdefault(dll, [])
            continue
        if dll is None:
            continue
        if not line.strip():
            dll = None
            continue
        # "\t3e56c\t  785  GetTickCount64" (vma, hint, name); by ordinal: "\t<vma>\t<ord>  <none> <none>"
        m = re.match(r"\s*[0-9a-fA-F]+\s+(\d+)\s+(\S+)", line)
        if m:
            name = m.group(2)
            found[dll].append("#" + m.group(1) if name == "<none>" else name)
    return found


def runtime_exports(cc, nm):
    """The names libmsvcr70.a imports from the runtime DLL, functions and data alike."""
    lib = subprocess.run([cc, f"-print-file-name={RUNTIME_LIST}"], capture_output=True,
                         text=True).stdout.strip()
    if not os.path.isabs(lib) or not os.path.isfile(lib):
        raise RuntimeError(f"{cc} finds no {RUNTIME_LIST} (package mingw-w64-i686-dev)")
    r = subprocess.run([nm, lib], capture_output=True, text=True, env=dict(os.environ, LC_ALL="C"))
    if r.returncode != 0:
        raise RuntimeError(f"{nm} {lib} failed:\n{r.stderr}")
    # "00000000 I __imp___iob": an import member's address slot. The static helpers the
    # library also holds define theirs as data ("D"), and do not count. A 32-bit symbol
    # carries one underscore more than the exported name.
    names = {m.group(1) for m in re.finditer(r"^[0-9a-fA-F]* *I __imp__(\S+)$", r.stdout, re.M)}
    if not names:
        raise RuntimeError(f"{nm} read no imports from {lib}")
    return names


def undeclared(names, cc):
    """The names that the MinGW-w64 headers do not declare for Windows XP."""
    if not names:
        return set()
    names = sorted(names)
    with tempfile.TemporaryDirectory() as tmp:
        src = os.path.join(tmp, "xp.c")
        with open(src, "w") as f:
            f.write("".join(f"#include <{h}>\n" for h in HEADERS))
            f.write("void take(const void *);\nvoid all(void) {\n")
            f.write("".join(f"  take((const void *)&{n});\n" for n in names))
            f.write("}\n")
        r = subprocess.run([cc, "-fsyntax-only", "-w", *XP_DEFINES, src],
                           capture_output=True, text=True, env=dict(os.environ, LC_ALL="C"))
    if r.returncode == 0:
        return set()
    missing = set(re.findall(r"['`]([A-Za-z_][A-Za-z0-9_]*)' undeclared", r.stderr))
    if not missing:
        raise RuntimeError(f"{cc} failed on the declarations file:\n{r.stderr}")
    return missing


def problems_of(dumps, cc, nm):
    """dumps: {file: objdump text}. Returns every finding as 'file: text'."""
    problems = []
    checked = {}
    runtime = None
    for path, dump in dumps.items():
        found = imports_of(dump)
        if not any(found.values()):
            problems.append(f"{path}: no imports read (not a PE image, or objdump wrote another layout)")
        for dll, names in found.items():
            if dll == RUNTIME:
                if runtime is None:
                    runtime = runtime_exports(cc, nm) | set(XP_RUNTIME_EXTRAS)
                problems += [f"{path}: {dll} {n}: not exported by the Visual C++ 7.0 runtime ({RUNTIME_LIST})"
                             for n in names if n not in runtime]
                continue
            if dll in KERNEL_DLLS:
                problems += [f"{path}: {dll} {n}: not on the reviewed list of XP kernel routines"
                             for n in names if n not in XP_KERNEL_ROUTINES]
                continue
            if dll not in XP_DLLS:
                problems.append(f"{path}: imports from {dll}, which Windows XP does not ship")
                continue
            for n in names:
                if n.startswith("#"):
                    problems.append(f"{path}: {dll} ordinal {n[1:]}: imported by number, cannot be checked")
                else:
                    checked.setdefault(n, []).append(f"{path}: {dll} {n}")
    for n in sorted(undeclared(set(checked), cc)):
        problems += [f"{where}: not declared for Windows XP (_WIN32_WINNT=0x0501)" for where in checked[n]]
    return problems


def dump_of(path, objdump):
    r = subprocess.run([objdump, "-p", path], capture_output=True, text=True)
    if r.returncode != 0:
        raise RuntimeError(f"{objdump} -p {path} failed:\n{r.stderr}")
    return r.stdout


def check(files, objdump, nm, cc):
    for f in files:
        if not os.path.isfile(f):
            print(f"missing: {f}", file=sys.stderr)
            return 1
    problems = problems_of({f: dump_of(f, objdump) for f in files}, cc, nm)
    for p in problems:
        print(p)
    if problems:
        print(f"{len(problems)} import(s) that Windows XP SP3 lacks")
        return 1
    print(f"every system import of {len(files)} file(s) exists on Windows XP SP3 "
          f"(the C runtime's read against {RUNTIME_LIST})")
    return 0


SELF_TEST_PROGRAM = r"""
#include <windows.h>
#include <stdexcept>
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR line, int) {
    try {
        if (*line) throw std::runtime_error(line);
    } catch (const std::exception& e) {
        MessageBoxA(nullptr, e.what(), "", MB_OK);
    }
    return 0;
}
"""

# _wfopen_s came with the Visual C++ 8.0 runtime; XP's msvcrt.dll does not export it.
NEWER_RUNTIME_PROGRAM = r"""
#include <stdio.h>
int main(void) {
    FILE *f = NULL;
    if (_wfopen_s(&f, L"x", L"r") == 0 && f) fclose(f);
    return 0;
}
"""

DRIVER_DUMP = """
\tDLL Name: ntoskrnl.exe
\tvma:  Hint/Ord Member-Name Bound-To
\t5080\t  120  IoCreateDevice
\t5090\t  121  KeQueryActiveProcessorCountEx
"""


def self_test(objdump, nm, cc):
    posix = re.sub(r"gcc(-[a-z0-9]+)?$", "g++", cc) + "-posix"
    failures = []
    with tempfile.TemporaryDirectory() as tmp:
        def problems_of_built(compiler, name, text, *flags):
            src, exe = os.path.join(tmp, name), os.path.join(tmp, name + ".exe")
            with open(src, "w") as f:
                f.write(text)
            r = subprocess.run([compiler, *flags, "-o", exe, src], capture_output=True, text=True)
            if r.returncode != 0:
                failures.append(f"building {name} with {compiler} failed:\n{r.stderr}")
                return None
            return problems_of({exe: dump_of(exe, objdump)}, cc, nm)

        found = problems_of_built(posix, "p.cpp", SELF_TEST_PROGRAM, "-static")
        if found is not None and not any("kernel32.dll GetTickCount64: not declared" in p for p in found):
            failures.append(f"the posix runtime's GetTickCount64 was not caught: {found}")
        found = problems_of_built(cc, "r.c", NEWER_RUNTIME_PROGRAM)
        runtime = [p for p in (found or []) if "msvcrt.dll" in p]
        if found is not None and (len(runtime) != 1 or "msvcrt.dll _wfopen_s: not exported" not in runtime[0]):
            failures.append(f"the runtime's _wfopen_s was not caught alone: {found}")
    found = problems_of({"tamrin.sys": DRIVER_DUMP}, cc, nm)
    if found != ["tamrin.sys: ntoskrnl.exe KeQueryActiveProcessorCountEx: "
                 "not on the reviewed list of XP kernel routines"]:
        failures.append(f"the driver's import list was not applied: {found}")
    for f in failures:
        print(f)
    print("self-test " + ("FAILED" if failures else "passed"))
    return 1 if failures else 0


def main():
    ap = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    ap.add_argument("--objdump", default="i686-w64-mingw32-objdump")
    ap.add_argument("--nm", default="i686-w64-mingw32-nm")
    ap.add_argument("--cc", default="i686-w64-mingw32-gcc")
    ap.add_argument("--self-test", action="store_true")
    ap.add_argument("files", nargs="*")
    a = ap.parse_args()
    if not a.self_test and not a.files:
        ap.error("no files named")
    try:
        if a.self_test:
            return self_test(a.objdump, a.nm, a.cc)
        return check(a.files, a.objdump, a.nm, a.cc)
    except (RuntimeError, OSError) as e:
        print(e, file=sys.stderr)
        return 1


if __name__ == "__main__":
    sys.exit(main())
