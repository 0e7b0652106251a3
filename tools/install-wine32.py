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

Set-up never removes a package: a plan whose simulation would remove any installed package
is refused, with the packages and the pins that would take them, and every real install
carries --no-remove, so apt stops where it would remove one (the list may have changed since
the simulation); a simulation then names what it would have removed.

Exit status: 0 installed (or already there), 1 it could not be installed.
"""
import os
import re
import subprocess
import sys

PACKAGE = "wine32:i386"
APT_INSTALL = ["apt-get", "install", "-y", "--no-install-recommends"]
# apt-get install -y removes any installed package that stands in its way, without asking.
NO_REMOVE = "--no-remove"
MAX_ROUNDS = 6  # each round pins the libraries one simulation names; a chain is short

# "libwine:i386 : Depends: libgstreamer-plugins-base1.0-0:i386 (>= 1.0.0) but it is not going
# to be installed" (also "but 1.2-3 is to be installed" for a version clash).
BLOCKED = re.compile(r"Depends: (\S+):i386\b[^\n]*? but (?:it is not going to be installed"
                     r"|\S+ is to be installed)")
# "Inst libssl3 [3.0.19-1~deb12u2] (3.0.20-1~deb12u2 Debian:12.15/oldstable [amd64])"
INST = re.compile(r"^Inst (\S+) (?:\[(\S+)\] )?\((\S+) (.*?) \[\S+\]\)", re.M)
# "Remv libssl-dev [3.0.19-1~deb12u2]"
REMV = re.compile(r"^Remv (\S+)(?: \[(\S+)\])?", re.M)
# One alternative of a dependency field: "libssl3 (= 3.0.19-1~deb12u2)", "libfoo:any".
DEPENDENCY = re.compile(r"^\s*([^\s(:]+)(?::\S+)?\s*(?:\(([^)]*)\))?")


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


def removals(simulation):
    """The installed packages a simulation would remove: [(name, installed version)]."""
    return REMV.findall(simulation)


def parse_depends(text):
    """`dpkg-query` lines "name<TAB>Depends, Pre-Depends" -> {name: [(dependency, relation)]}."""
    result = {}
    for line in text.splitlines():
        name, _, field = line.partition("\t")
        deps = []
        for part in field.split(","):
            for alternative in part.split("|"):
                m = DEPENDENCY.match(alternative)
                if m and m.group(1):
                    deps.append((m.group(1), m.group(2) or ""))
        result[name] = deps
    return result


def removal_reasons(removed, pins, depends):
    """One line per removed package: what it needs that the plan pins, or that goes too.

    depends maps dpkg-query's names (the native ones may carry ":amd64") to their dependencies.
    """
    pinned = {}
    for pin in pins:
        name, _, version = pin.partition("=")
        pinned[name.split(":")[0]] = version
    gone = {name.split(":")[0] for name, _ in removed}
    lines = []
    for name, version in removed:
        deps = depends.get(name)
        if deps is None:
            deps = next((d for key, d in depends.items() if key.split(":")[0] == name), [])
        why = [f"needs {dep} ({rel}), pinned to {pinned[dep]}" if rel else f"needs {dep}, pinned to {pinned[dep]}"
               for dep, rel in deps if dep in pinned]
        why += [f"needs {dep}, which goes too" for dep, _ in deps if dep in gone and dep not in pinned]
        lines.append(f"{name} {version}: " + ("; ".join(why) if why else "apt names no direct reason"))
    return lines


def installed_depends(names):
    if not names:
        return {}
    _, text = run(["dpkg-query", "-W", "-f=${binary:Package}\t${Depends}, ${Pre-Depends}\n"] + names)
    return parse_depends(text)


def refuse_removals(args, simulation, out=None):
    """Prints why a plan that would remove installed packages is not run. True when it is refused."""
    out = out or sys.stdout
    removed = removals(simulation)
    if not removed:
        return False
    pins = [a for a in args if "=" in a and not a.startswith("-")]
    print(f"setup: refusing that plan: apt would remove {len(removed)} installed "
          f"package{'s' if len(removed) != 1 else ''}:", file=out)
    for line in removal_reasons(removed, pins, installed_depends([n for n, _ in removed])):
        print(f"setup:   remove {line}", file=out)
    if "-t" in args:
        print(f"setup: the pins of that plan: {' '.join(pins) or '(none; only the target release)'}", file=out)
    print("setup: nothing was changed; remove or update those packages yourself, or install "
          f"{PACKAGE} by hand", file=out)
    return True


def report(simulation, out=None):
    out = out or sys.stdout
    new, raised, lowered, origins = changes(simulation)
    print(f"setup: the 32-bit Wine half: {len(new)} new, {len(raised)} raised, "
          f"{len(lowered)} lowered", file=out)
    for where, count in sorted(origins.items()):
        print(f"setup:   {count} from {where}", file=out)
    for title, items in (("raised", raised), ("lowered", lowered)):
        for item in items:
            print(f"setup:   {title}: {item}", file=out)


def c_locale():
    """The environment for a call whose output is parsed: apt translates its messages."""
    env = dict(os.environ, LC_ALL="C")
    env.pop("LANGUAGE", None)
    return env


def run(args, capture=True):
    """Runs a command; a captured one (its output is read) runs in the C locale."""
    proc = subprocess.run(args, stdin=subprocess.DEVNULL, text=True, env=c_locale() if capture else None,
                          stdout=subprocess.PIPE if capture else None,
                          stderr=subprocess.STDOUT if capture else None)
    return proc.returncode, proc.stdout or ""


def simulated(args):
    """apt-get install args as a simulation: it changes nothing, and it names what it removes."""
    return args[:2] + ["-s"] + [a for a in args[2:] if a != NO_REMOVE]


def removing(args):
    """args as a real install that stops rather than remove an installed package."""
    return args[:2] + [NO_REMOVE] + args[2:]


def refused_after_failure(args):
    """After a real install of args failed: True (and says why) when apt stopped because it
    would have removed installed packages."""
    _, sim = run(simulated(args))
    return refuse_removals(args, sim)


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
        rc, sim = run(simulated(base + pins))
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
        rc, out = run(removing(APT_INSTALL + [PACKAGE]))
        if rc == 0:
            print(f"setup: {PACKAGE} installed from the lists as they are")
            return 0
        print("\n".join(out.rstrip().splitlines()[-15:]))
        if refused_after_failure(APT_INSTALL + [PACKAGE]):
            print(f"setup: {PACKAGE} cannot be installed without removing packages")
            return 1
        print("setup: that failed; working out versions both architectures share")
    args, sim = plan()
    if args is None:
        print(sim.rstrip())
        print(f"setup: {PACKAGE} cannot be installed from these package lists")
        return 1
    args = removing(args)
    print("setup: " + " ".join(args))
    report(sim)
    if refuse_removals(args, sim):
        print(f"setup: {PACKAGE} cannot be installed without removing packages")
        return 1
    if dry:
        return 0
    rc, _ = run(args, capture=False)
    if rc != 0:
        if refused_after_failure(args):
            print(f"setup: {PACKAGE} cannot be installed without removing packages")
        else:
            print(f"setup: the install above failed (apt-get exit status {rc})")
        return 1
    print(f"setup: {PACKAGE} installed")
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1:]))
