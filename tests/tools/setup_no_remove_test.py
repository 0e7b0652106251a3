"""Set-up removes no installed package on any of its apt paths: the build packages of
tools/setup.sh, and both installs of tools/install-wine32.py (the plain one and the fallback
plan's real run). apt is a fake on PATH that acts as apt does where an install needs an
installed package gone: it removes it when let (and logs that), stops when given --no-remove,
and names it in a simulation."""
import os
import re
import shutil
import stat
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
TOP = os.path.normpath(os.path.join(HERE, "..", ".."))

# apt-get acts as apt does where an install needs installed packages gone; WHERE names that
# install: "build" (no wine32), "plain" (wine32 without a target release) or "fallback" (with
# one). Its simulation foresees the removal only once a real install found it, as when the
# lists change between the plan and the run.
APT_GET = r'''#!{python}
import os, sys
args = sys.argv[1:]
apt, state = os.environ["APT"], os.environ["STATE"]
def cat(name):
    with open(os.path.join(apt, name)) as f:
        sys.stdout.write(f.read())
def log(line):
    with open(os.path.join(state, "log"), "a") as f:
        f.write(line + "\n")
if args[:1] != ["install"]:
    sys.exit(0)
sim, fallback, wine = "-s" in args, "-t" in args, "wine32:i386" in args
kind = "fallback" if fallback else "plain" if wine else "build"
tried = os.path.join(state, "tried")
if kind == os.environ["WHERE"] and not sim:
    open(tried, "w").close()
if kind == os.environ["WHERE"] and os.path.exists(tried):
    if sim:
        cat("removing.txt")
        sys.exit(0)
    if "--no-remove" in args:
        print("The following packages will be REMOVED:\n  libpq-dev libssl-dev libxmlsec1-dev")
        print("E: Packages need to be removed but remove is disabled.")
        sys.exit(100)
    log("removed libpq-dev libssl-dev libxmlsec1-dev")
    sys.exit(0)
if kind == "plain":
    cat("blocked.txt" if sim else "blocked-plain.txt")
    sys.exit(100)
if kind == "fallback" and sim and not any("=" in a for a in args):
    cat("blocked.txt")
    sys.exit(100)
if sim:
    cat("planned.txt")
else:
    log("installed " + " ".join(args))
'''
# Nothing is installed; the installed packages' dependencies and the versions on offer come
# from the captured lists.
OTHERS = {
    "apt-cache": '#!/bin/sh\ncat "$APT/policy.txt"\n',
    "dpkg-query": '#!/bin/sh\ncase "$*" in *binary:Package*) cat "$APT/removing-depends.txt" ;; esac\n',
    "dpkg": "#!/bin/sh\n",
}

REMOVED = ("libpq-dev 15.18-0+deb12u1", "libssl-dev 3.0.19-1~deb12u2", "libxmlsec1-dev 1.2.37-2")


class NothingRemoved(unittest.TestCase):
    def run_setup(self, where, script):
        with tempfile.TemporaryDirectory() as tmp:
            bin_dir, state, tools = (os.path.join(tmp, d) for d in ("bin", "state", "tools"))
            for d in (bin_dir, state, tools):
                os.mkdir(d)
            fakes = dict(OTHERS, **{"apt-get": APT_GET.replace("{python}", sys.executable, 1)})
            for tool, text in fakes.items():
                path = os.path.join(bin_dir, tool)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(text)
                os.chmod(path, stat.S_IRWXU)
            # A copy of the set-up scripts whose kernel refuses 32-bit programs.
            for name in ("setup.sh", "install-wine32.py"):
                shutil.copy(os.path.join(TOP, "tools", name), tools)
            with open(os.path.join(tools, "kernel-runs-32bit.sh"), "w", encoding="utf-8") as f:
                f.write("exit 1\n")
            env = dict(os.environ, PATH=bin_dir + os.pathsep + os.environ["PATH"], WHERE=where,
                       STATE=state, APT=os.path.join(HERE, "apt"))
            runner = "bash" if script.endswith(".sh") else sys.executable
            proc = subprocess.run([runner, os.path.join(tools, script)], env=env, stdin=subprocess.DEVNULL, text=True,
                                  stdout=subprocess.PIPE, stderr=subprocess.STDOUT, timeout=120)
            log = ""
            if os.path.exists(os.path.join(state, "log")):
                with open(os.path.join(state, "log"), encoding="utf-8") as f:
                    log = f.read()
        return proc.returncode, proc.stdout, log

    def test_an_install_that_would_remove_packages_stops_and_names_them(self):
        cases = [("build", "setup.sh"), ("plain", "install-wine32.py"), ("fallback", "install-wine32.py")]
        for where, script in cases:
            with self.subTest(where):
                rc, out, log = self.run_setup(where, script)
                self.assertEqual(rc, 1, out)
                self.assertNotIn("removed", log, out)
                self.assertNotIn("installed", log, out)
                for name in REMOVED:
                    self.assertRegex(out, "setup:   remove " + re.escape(name) + r"\b")


if __name__ == "__main__":
    unittest.main()
