"""check-tree layers on small made-up trees: each rule reports its fault, a clean tree none."""
import pathlib
import subprocess
import sys
import tempfile

CHECK = pathlib.Path(__file__).resolve().parents[2] / "scripts" / "check-tree"


def layers(files):
    with tempfile.TemporaryDirectory() as root:
        for name, text in files.items():
            path = pathlib.Path(root, name)
            path.parent.mkdir(parents=True, exist_ok=True)
            path.write_text(text)
        run = subprocess.run([sys.executable, str(CHECK), "--root", root, "layers"],
                             capture_output=True, text=True)
        return run.returncode, run.stdout


CLEAN = {
    "capture/Form.cpp": '#include "jobs/Job.h"\n#include "recording/Rec.h"\n',
    "recording/Rec.cpp": '#include "jobs/Job.h"\n',
    "jobs/Job.cpp": '#include "platform/Executor.h"\n',
    "tools/tool.cpp": '#include "imaging/Png.h"\n#include "platform/FileIo.h"\n',
    "platform/Executor.cpp": "void f() { threads_.push_back(std::thread([] {})); }\n",
    "tests/unit/T.cpp": "std::thread t([] {});\n",
    "capture/Busy.cpp": "unsigned n = std::thread::hardware_concurrency();\n",
}
FAULTS = {
    "jobs/Job.cpp": '#include "capture/Form.h"\n',                   # jobs -> capture -> jobs
    "tools/tool.cpp": '#include "jobs/OcrJob.h"\n',                  # a tool on the program
    "capture/Saver.cpp": "  worker_ = std::thread([] {});  // no\n",  # a thread of its own
    "imaging/Png.cpp": '#include "capture/Form.h"\n',                # a lower layer reaching up
}

code, out = layers(CLEAN)
failed = [] if code == 0 and "0 fault(s)" in out else [f"a clean tree has faults:\n{out}"]
code, out = layers({**CLEAN, **FAULTS})
for want in ("folder cycle capture -> jobs -> capture", "tools/tool.cpp: includes jobs/OcrJob.h",
             "capture/Saver.cpp:1: starts a thread", "imaging/Png.cpp: includes capture/Form.h"):
    if want not in out:
        failed.append(f"not reported: {want}")
if code == 0:
    failed.append(f"the faulty tree passes:\n{out}")
print("\n".join(failed) or "check-tree layers: every rule reports its fault")
sys.exit(1 if failed else 0)
