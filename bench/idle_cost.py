"""What Glimmershot costs while it waits: CPU time over 60 s of idling in the tray and the
memory of the idle process, for the program under Wine (and, apart, Wine's server).

Run by scripts/bench; needs the win64 build. Prints plain figures, asserts nothing."""
import os
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "win64")
os.environ.setdefault("GS_EXE", os.path.join(BUILD, "bin", "Glimmershot.exe"))
os.environ.setdefault("GS_PROBE", os.path.join(BUILD, "bin", "probe.exe"))
os.environ.setdefault("GS_WINEPREFIX", os.path.join(BUILD, "wineprefix"))
os.environ.setdefault("GS_WORK", os.path.join(BUILD, "bench"))
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
from harness import PROBE, Session, unix_pid_of  # noqa: E402

SECONDS = int(os.environ.get("GS_IDLE_SECONDS", "60"))
HZ = os.sysconf("SC_CLK_TCK")


def cpu_seconds(pid):
    fields = open(f"/proc/{pid}/stat").read().rsplit(")", 1)[1].split()
    return (int(fields[11]) + int(fields[12])) / HZ  # utime + stime


def wineserver_pid(prefix):
    for pid in os.listdir("/proc"):
        try:
            if open(f"/proc/{pid}/comm").read().startswith("wineserver") and \
                    os.environ.get("GS_WINEPREFIX") in open(f"/proc/{pid}/environ", "rb").read().decode("utf-8", "replace"):
                return int(pid)
        except OSError:
            pass
    return None


def main():
    s = Session("idle_cost")
    try:
        s.start()
        # Beside it, the least any Windows program with a 50 ms timer costs under this Wine.
        s.background("idle", (SECONDS + 30) * 1000, seconds=SECONDS + 60)
        time.sleep(8)  # past the first-run balloon and the start-up work
        pid, floor, server = s.unix_pid(), unix_pid_of(PROBE), wineserver_pid(os.environ["GS_WINEPREFIX"])
        t0, c0, f0 = time.time(), cpu_seconds(pid), cpu_seconds(floor)
        s0 = cpu_seconds(server) if server else 0.0
        time.sleep(SECONDS)
        wall, used, bare = time.time() - t0, cpu_seconds(pid) - c0, cpu_seconds(floor) - f0
        served = (cpu_seconds(server) - s0) if server else float("nan")
        status = s.unix_status()
        windows_side = s.objects()
        print(f"idle for {wall:.1f} s (the 50 ms tick running, panel hidden)")
        print(f"  Glimmershot CPU: {used:.2f} s = {100 * used / wall:.3f} % of one core (target < 0.5 %)")
        print(f"  a bare window with a 50 ms timer: {bare:.2f} s = {100 * bare / wall:.3f} % (Wine's floor)")
        print(f"  wineserver CPU:  {served:.2f} s = {100 * served / wall:.3f} % (serves both)")
        print(f"  memory: private (RssAnon) {status.get('RssAnon')} KiB, resident {status.get('VmRSS')} KiB, "
              f"working set seen by Windows {windows_side.get('ws')} KiB")
        print(f"  GDI objects {windows_side.get('gdi')}, windows {windows_side.get('windows')}")
    finally:
        s.stop()


if __name__ == "__main__":
    main()
