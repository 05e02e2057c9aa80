"""Runs one Windows test program under Wine on a private Xvfb and returns its exit code."""
import subprocess
import sys

from harness import Xvfb, ensure_prefix, wine_env

x = Xvfb()
try:
    env = wine_env(x.display)
    ensure_prefix(x.display)
    code = subprocess.run(["timeout", "240", "wine", sys.argv[1]] + sys.argv[2:], env=env,
                          stdin=subprocess.DEVNULL).returncode
    subprocess.run(["timeout", "30", "wineserver", "-k"], env=env)
finally:
    x.stop()
sys.exit(code)
