#!/usr/bin/env python3
"""Installs the 32-bit half of Wine (wine32:i386), also while an i386 package index is out of step.

A library that is "Multi-Arch: same" must have one version for both architectures. When an
i386 index cannot be fetched (a mirror in the middle of a sync), the amd64 library that came
from that suite has no i386 twin, and apt calls wine32:i386 "held broken". Then this takes the
distribution's point release as the target for both architectures (raising amd64 libraries to
its versions where needed) and, for each library still blocked, the newest version that both
architectures offer (which may lower the amd64 one). Every choice comes from the package lists
of the day, as apt prints them.

    install-wine32.py            install, say what came from where
    install-wine32.py --dry-run  only work out and print the plan

Exit status: 0 installed (or already there), 1 it could not be installed.
"""
import re
import subprocess
import sys

PACKAGE = "wine32:i386"
APT_INSTALL = ["apt-get", "install", "-y", "--no-install-recommends"]
MAX_ROUNDS = 6  # each round pins the libraries one simulation names; a chain is short

# "libwine:i386 : Depends: libgstreamer-plugins-base1.0-0:i386 (>= 1.0.0) but it is not going
# to be installed" (also "but 1.2-3 is to be installed" for a version clash).
BLOCKED = re.compile(r"Depends: (\S+):i386\b[^\n]*? but (?:it is not going to be installed"
                     r"|\S+ is to be installed)")
# "Inst libssl3 [3.0.19-1~deb12u2] (3.0.20-1~deb12u2 Debian:12.15/oldstable [amd64])"
INST = re.compile(r"^Inst (\S+) (?:\[(\S+)\] )?\((\S+) (.*?) \[\S+\]\)", re.M)


def blocked_packages(simulation):
    """Names (without :i386) of the i386 libraries a failed simulation could not install."""
    return sorted(set(BLOCKED.findall(simulation)))


def parse_policy(text):
    """`apt-cache policy A A:i386 ...` -> {name: (installed or None, [versions, newest first])}."""
    result = {}
    name = None
    in_table = False
    for line in text.splitlines():
        if line and not line[0].isspace() and line.endswith(":"):
            name = line[:-1]
            result[name] = [None, []]
            in_table = False
        elif name is None:
            continue
        elif line.strip().startswith("Installed:"):
            value = line.split(":", 1)[1].strip()
            result[name][0] = None if value == "(none)" else value
        elif line.strip() == "Version table:":
            in_table = True
        elif in_table:
            # A version line is indented less than its origins and may carry the *** mark.
            m = re.match(r"^ (?:\*\*\*| {3}) (\S+) -?\d+$", line)
            if m:
                result[name][1].append(m.group(1))
    return {n: (v[0], v[1]) for n, v in result.items()}


def choose_pins(blocked, policies):
    """For each blocked library, the newest version both architectures offer, as apt-get pins.

    Returns (pins, problems): pins like ["zlib1g=1.2", "zlib1g:i386=1.2"]; problems name the
    libraries for which no common version exists.
    """
    pins, problems = [], []
    for name in blocked:
        amd64 = policies.get(name, (None, []))
        i386 = policies.get(name + ":i386", (None, []))
        common = [v for v in i386[1] if v in amd64[1]]
        if not common:
            problems.append(f"{name}: no version that amd64 ({', '.join(amd64[1]) or 'none'}) and "
                            f"i386 ({', '.join(i386[1]) or 'none'}) both offer")
            continue
        pins += [f"{name}={common[0]}", f"{name}:i386={common[0]}"]
    return pins, problems


def changes(simulation):
    """What a successful simulation would do: (new, raised, lowered, origins).

    new, raised and lowered are lists of "name old -> new" texts; origins counts the packages
    each release (or releases, where several hold that version) would deliver, e.g.
    {"Debian:12.15/oldstable": 143}.
    """
    lowered_names = set()
    section = None
    for line in simulation.splitlines():
        if line.startswith("The following packages will be DOWNGRADED"):
            section = lowered_names
        elif line.startswith("  ") and section is not None:
            section.update(line.split())
        else:
            section = None
    new, raised, lowered, origins = [], [], [], {}
    # apt names a foreign-architecture package with its suffix (zlib1g:i386) already.
    for name, old, version, origin in INST.findall(simulation):
        origins[origin] = origins.get(origin, 0) + 1
        if not old:
            new.append(f"{name} {version}")
        elif name in lowered_names:
            lowered.append(f"{name} {old} -> {version}")
        else:
            raised.append(f"{name} {old} -> {version}")
    return new, raised, lowered, origins


def report(simulation, out=sys.stdout):
    new, raised, lowered, origins = changes(simulation)
    print(f"setup: the 32-bit Wine half: {len(new)} new, {len(raised)} raised, "
          f"{len(lowered)} lowered", file=out)
    for where, count in sorted(origins.items()):
        print(f"setup:   {count} from {where}", file=out)
    for title, items in (("raised", raised), ("lowered", lowered)):
        for item in items:
            print(f"setup:   {title}: {item}", file=out)


def run(args, capture=True):
    proc = subprocess.run(args, stdin=subprocess.DEVNULL, text=True,
                          stdout=subprocess.PIPE if capture else None,
                          stderr=subprocess.STDOUT if capture else None)
    return proc.returncode, proc.stdout or ""


def os_codename():
    with open("/etc/os-release", encoding="utf-8") as f:
        for line in f:
            if line.startswith("VERSION_CODENAME="):
                return line.split("=", 1)[1].strip().strip('"')
    return None


def plan():
    """Works out a fallback install by simulation. Returns (args, simulation) or (None, why)."""
    suite = os_codename()
    if not suite:
        return None, "/etc/os-release names no release to take both architectures from"
    base = APT_INSTALL + ["-t", suite, "--allow-downgrades", PACKAGE]
    pins, pinned = [], set()
    for _ in range(MAX_ROUNDS):
        rc, sim = run(base[:2] + ["-s"] + base[2:] + pins)
        if rc == 0:
            return base + pins, sim
        blocked = [b for b in blocked_packages(sim) if b not in pinned]
        if not blocked:
            return None, sim
        _, policy = run(["apt-cache", "policy"] + [p for b in blocked for p in (b, b + ":i386")])
        more, problems = choose_pins(blocked, parse_policy(policy))
        if problems:
            return None, "\n".join(problems)
        pins += more
        pinned.update(blocked)
    return None, f"still blocked after {MAX_ROUNDS} rounds of pins: {' '.join(pins)}"


def main(argv):
    dry = "--dry-run" in argv
    if not dry:
        print(f"setup: installing the 32-bit Wine half ({PACKAGE}) from the lists as they are")
        rc, out = run(APT_INSTALL + [PACKAGE])
        if rc == 0:
            print(f"setup: {PACKAGE} installed from the lists as they are")
            return 0
        print("\n".join(out.rstrip().splitlines()[-15:]))
        print("setup: that failed; working out versions both architectures share")
    args, sim = plan()
    if args is None:
        print(sim.rstrip())
        print(f"setup: {PACKAGE} cannot be installed from these package lists")
        return 1
    print("setup: " + " ".join(args))
    report(sim)
    if dry:
        return 0
    rc, _ = run(args, capture=False)
    if rc != 0:
        print(f"setup: the install above failed (apt-get exit status {rc})")
        return 1
    print(f"setup: {PACKAGE} installed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
