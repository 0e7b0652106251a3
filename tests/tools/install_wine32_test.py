"""The 32-bit Wine install's choices, worked out from apt's output captured on a machine whose
bookworm-security i386 index could not be fetched (tests/tools/apt/)."""
import contextlib
import importlib.util
import io
import os
import stat
import tempfile
import unittest
from unittest import mock

HERE = os.path.dirname(os.path.abspath(__file__))
spec = importlib.util.spec_from_file_location(
    "install_wine32", os.path.join(HERE, "..", "..", "tools", "install-wine32.py"))
iw = importlib.util.module_from_spec(spec)
spec.loader.exec_module(iw)


def captured(name):
    with open(os.path.join(HERE, "apt", name), encoding="utf-8") as f:
        return f.read()


GST = "libgstreamer-plugins-base1.0-0"


class Wine32Choices(unittest.TestCase):
    def test_blocked_libraries_are_read_from_apts_complaint(self):
        self.assertEqual(iw.blocked_packages(captured("blocked.txt")), [GST])
        plain = iw.blocked_packages(captured("blocked-plain.txt"))
        # Only i386 libraries count; an amd64 package's unmet dependency is not ours to pin.
        self.assertIn("zlib1g", plain)
        self.assertIn(GST, plain)
        self.assertNotIn("default-jre-headless", plain)
        self.assertEqual(len(plain), len(set(plain)))

    def test_pins_take_the_newest_version_both_architectures_offer(self):
        policies = iw.parse_policy(captured("policy.txt"))
        self.assertEqual(policies[GST], ("1.22.0-3+deb12u7", ["1.22.0-3+deb12u7", "1.22.0-3+deb12u6"]))
        pins, problems = iw.choose_pins([GST, "liblzma5", "zlib1g"], policies)
        self.assertEqual(problems, [])
        self.assertEqual(pins, [
            f"{GST}=1.22.0-3+deb12u6", f"{GST}:i386=1.22.0-3+deb12u6",  # lowers amd64
            "liblzma5=5.4.1-1+deb12u1", "liblzma5:i386=5.4.1-1+deb12u1",  # raises amd64
            "zlib1g=1:1.2.13.dfsg-1", "zlib1g:i386=1:1.2.13.dfsg-1"])  # keeps amd64

    def test_a_library_without_a_common_version_is_named_not_pinned(self):
        policies = {"libx": ("2", ["2"]), "libx:i386": (None, ["1"])}
        pins, problems = iw.choose_pins(["libx", "liby"], policies)
        self.assertEqual(pins, [])
        self.assertEqual(len(problems), 2)
        self.assertIn("libx: no version", problems[0])

    def test_the_report_counts_new_raised_and_lowered_packages(self):
        new, raised, lowered, origins = iw.changes(captured("planned.txt"))
        self.assertEqual((len(new), len(raised), len(lowered)), (106, 49, 1))
        self.assertEqual(lowered, [f"{GST} 1.22.0-3+deb12u7 -> 1.22.0-3+deb12u6"])
        self.assertIn("libssl3 3.0.19-1~deb12u2 -> 3.0.20-1~deb12u2", raised)
        self.assertTrue(any(n.startswith("wine32:i386 ") for n in new))
        self.assertEqual(sum(origins.values()), 156)

    def test_plan_pins_what_the_point_release_alone_leaves_blocked(self):
        answers = {"-s": [(100, captured("blocked.txt")), (0, captured("planned.txt"))],
                   "policy": [(0, captured("policy.txt"))]}
        calls = []

        def fake_run(args, capture=True):
            calls.append(args)
            return answers["policy" if "policy" in args else "-s"].pop(0)

        with mock.patch.object(iw, "run", fake_run), mock.patch.object(iw, "os_codename", lambda: "bookworm"):
            args, sim = iw.plan()
        self.assertEqual(args[args.index("-t") + 1], "bookworm")
        self.assertEqual(args[-2:], [f"{GST}=1.22.0-3+deb12u6", f"{GST}:i386=1.22.0-3+deb12u6"])
        self.assertNotIn("-s", args)
        self.assertEqual(calls[1], ["apt-cache", "policy", GST, GST + ":i386"])
        out = io.StringIO()
        iw.report(sim, out)
        self.assertIn("106 new, 49 raised, 1 lowered", out.getvalue())

    def test_plan_gives_up_when_apt_names_nothing_to_pin(self):
        with mock.patch.object(iw, "run", lambda args, capture=True: (100, "E: no network")), \
                mock.patch.object(iw, "os_codename", lambda: "bookworm"):
            self.assertEqual(iw.plan(), (None, "E: no network"))


# apt, apt-cache and dpkg-query as a German machine has them: they answer in English, from the
# captured texts, only when asked in the C locale. A real install (no -s) is logged.
FAKE = """#!/bin/sh
if [ "$LC_ALL" != C ]; then echo "Paketlisten werden gelesen... E: Kaputte Pakete"; exit 100; fi
case "$0 $*" in
  *apt-get*" -s "*=*) cat "$APT/removing.txt" ;;
  *apt-get*" -s "*) cat "$APT/blocked.txt"; exit 100 ;;
  *apt-get*" -t "*) echo "$*" >>"$LOG"; exit 0 ;;
  *apt-get*) cat "$APT/blocked-plain.txt"; exit 100 ;;
  *apt-cache*) cat "$APT/policy.txt" ;;
  *dpkg-query*) cat "$APT/removing-depends.txt" ;;
esac
"""


class Wine32Removals(unittest.TestCase):
    def test_a_plan_that_would_remove_packages_is_refused_in_any_language(self):
        with tempfile.TemporaryDirectory() as bin_dir:
            for tool in ("apt-get", "apt-cache", "dpkg-query"):
                path = os.path.join(bin_dir, tool)
                with open(path, "w", encoding="utf-8") as f:
                    f.write(FAKE)
                os.chmod(path, stat.S_IRWXU)
            log = os.path.join(bin_dir, "installed.log")
            env = {"PATH": bin_dir + os.pathsep + os.environ["PATH"], "APT": os.path.join(HERE, "apt"),
                   "LOG": log, "LANG": "de_DE.UTF-8", "LC_ALL": "de_DE.UTF-8", "LANGUAGE": "de"}
            out = io.StringIO()
            with mock.patch.dict(os.environ, env), mock.patch.object(iw, "os_codename", lambda: "bookworm"), \
                    contextlib.redirect_stdout(out):
                self.assertEqual(iw.main([]), 1, out.getvalue())
            self.assertFalse(os.path.exists(log), "the plan was run")
        text = out.getvalue()
        self.assertIn("apt would remove 3 installed packages", text)
        for name in ("libssl-dev 3.0.19-1~deb12u2", "libpq-dev 15.18-0+deb12u1", "libxmlsec1-dev 1.2.37-2"):
            self.assertIn(f"setup:   remove {name}", text)
        self.assertIn(f"pins of that plan: {GST}=1.22.0-3+deb12u6 {GST}:i386=1.22.0-3+deb12u6", text)

    def test_each_removal_names_the_pin_or_the_removal_it_follows(self):
        depends = iw.parse_depends(captured("removing-depends.txt"))
        lines = iw.removal_reasons(iw.removals(captured("removing.txt")), ["libssl3=3.0.17-1~deb12u2"], depends)
        self.assertEqual(lines, [
            "libpq-dev 15.18-0+deb12u1: needs libssl-dev, which goes too",
            "libxmlsec1-dev 1.2.37-2: needs libssl-dev, which goes too",
            "libssl-dev 3.0.19-1~deb12u2: needs libssl3 (= 3.0.19-1~deb12u2), pinned to 3.0.17-1~deb12u2"])


if __name__ == "__main__":
    unittest.main()
