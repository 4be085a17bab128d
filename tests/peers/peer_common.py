"""What the peer scripts share: the failure record, Wine paths and running our programs.

A peer imports it by its own folder:

    sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
    from peer_common import check, win, run, finish
"""
import os
import subprocess
import sys

FAILURES = []
WINE = os.environ.get("KAVREL_WINE", "/usr/lib/wine/wine64")


def check(condition, message):
    """Records a failed check and prints it; the peer goes on with the next one."""
    if not condition:
        FAILURES.append(message)
        print("FAIL:", message)


def win(path):
    """A host path as Wine's programs see it, on drive Z:."""
    return "Z:" + os.path.abspath(path).replace("/", "\\")


def run(build_dir, exe, args, cwd=None, timeout=240):
    """Runs bin/exe of the build under Wine: (exit code, stdout, stderr) as text."""
    result = subprocess.run([WINE, os.path.join(build_dir, "bin", exe)] + list(args), cwd=cwd,
                            stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=timeout)
    return result.returncode, result.stdout.decode("utf-8", "replace"), result.stderr.decode("utf-8", "replace")


def finish(what):
    """Ends the peer: exit 1 with the count of failed checks, or says that what passed."""
    if FAILURES:
        print("%d check(s) failed" % len(FAILURES))
        sys.exit(1)
    print(what + " checks passed")
