#pragma once
// The program as a test drives it: both windows on the fake platform, in a fresh folder.
#include <gtest/gtest.h>

#include <memory>

#include "capture/Form1.h"
#include "data/DataFolders.h"
#include "jobs/OcrJob.h"
#include "jobs/VideoRender.h"
#include "recording/ClipForm.h"
#include "support/FakePlatform.h"
#include "support/TempDir.h"

namespace gs::test {

class AppFixture : public testing::Test {
  protected:
    TempDir dir;
    FakePlatform platform;
    Executor pool;  // with the services, outlives the windows, as in the program
    std::unique_ptr<Services> services = std::make_unique<Services>(platform, pool);
    FakeBackend backend;
    std::unique_ptr<TForm1> form;
    std::unique_ptr<TClipForm> clip;
    int startDpi = 96;  // the monitors' scale at the next start

    // The program-wide state back to how a fresh process finds it: one test process starts
    // the program many times.
    AppFixture() {
        AppDir.clear();
        LastImageFile.clear();
        FileCounter = 0;
        OCRResultBase.clear();
        VideoRenderState = rsIdle;
        LastRenderOutcome = static_cast<int32_t>(RenderOutcome::Created);
        LastVideoFile.clear();
        VideoExtension.clear();
        VideoQScale = 0;
    }

    // (Re)starts the program with the executable at `exeName` inside the folder.
    void start(const std::string& exeName = "Glimmershot.exe") {
        clip.reset();
        form.reset();
        services = std::make_unique<Services>(platform, pool);  // a fresh process's
        backend = FakeBackend();
        backend.dpi = startDpi;
        platform.exe = dir.file(exeName);
        form = std::make_unique<TForm1>(platform, backend, *services);
        clip = std::make_unique<TClipForm>(platform, backend);
        form->attachClipForm(*clip);
    }
    void tick(int n = 1) {
        for (int i = 0; i < n; ++i) form->Timer1->fire();
    }
};

}  // namespace gs::test
