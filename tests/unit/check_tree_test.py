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
    "capture/Form.cpp": '#include "jobs/Job.h"\n#include "recording/Rec.h"\n#include "settings/S.h"\n',
    "recording/Rec.cpp": '#include "jobs/Job.h"\n#include "data/Folders.h"\n',
    "jobs/Job.cpp": '#include "platform/Executor.h"\n#include "tools/ExitCodes.h"\n',
    "settings/S.cpp": '#include "platform/FileIo.h"\n',
    "tools/tool.cpp": '#include "imaging/Png.h"\n#include "platform/FileIo.h"\n',
    "platform/Executor.cpp": "void f() { threads_.push_back(std::thread([] {})); QueueUserWorkItem(w, 0, 0); }\n",
    "tests/unit/T.cpp": "std::thread t([] {});\n",
    "capture/Busy.cpp": "unsigned n = std::thread::hardware_concurrency();\n",
}
FAULTS = {
    "jobs/Job.cpp": '#include "capture/Form.h"\n',                   # below reaching up
    "settings/S.cpp": '#include "recording/Rec.h"\n',                # no cycle, still upwards
    "data/Folders.cpp": '#include "settings/S.h"\n',                 # side by side
    "tools/tool.cpp": '#include "jobs/OcrJob.h"\n',                  # a tool on the program
    "capture/Tools.cpp": '#include "tools/ToolRunner.h"\n',          # the program on a tool
    "capture/Saver.cpp": "  worker_ = std::thread([] {});  // no\n",  # a thread of its own
    "capture/Pool.cpp": "\n  TrySubmitThreadpoolCallback(run, this, nullptr);\n",  # the system's pool
    "imaging/Png.cpp": '#include "capture/Form.h"\n',                # a lower layer reaching up
}

code, out = layers(CLEAN)
failed = [] if code == 0 and "0 fault(s)" in out else [f"a clean tree has faults:\n{out}"]
code, out = layers({**CLEAN, **FAULTS})
for want in ("jobs/Job.cpp: includes capture/Form.h; jobs/ includes only folders after it",
             "settings/S.cpp: includes recording/Rec.h", "data/Folders.cpp: includes settings/S.h",
             "tools/tool.cpp: includes jobs/OcrJob.h", "capture/Tools.cpp: includes tools/ToolRunner.h",
             "capture/Saver.cpp:1: starts a thread", "capture/Pool.cpp:2: starts a thread",
             "imaging/Png.cpp: includes capture/Form.h"):
    if want not in out:
        failed.append(f"not reported: {want}")
if code == 0:
    failed.append(f"the faulty tree passes:\n{out}")
print("\n".join(failed) or "check-tree layers: every rule reports its fault")
sys.exit(1 if failed else 0)
