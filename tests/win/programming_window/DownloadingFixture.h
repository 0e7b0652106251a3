#pragma once
// The fixture of the programming-window tests: a recording host, the settings globals of
// a run, and a stand-in port-access control created in place of the registered one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "WindowTestSupport.h"
#include "app/WinHost.h"
#include "core/Globals.h"
#include "platform/Platform.h"
#include "programming/Download.h"
#include "programming/ZintrixHost.h"
#include "programming/frmDownloading.h"

namespace WindowTest {

class DownloadingFixture : public ::testing::Test {
protected:
    void SetUp() override {
        SetHost(&host);
        forms::SetMainWindowLink(&mainWindowLink);  // the real main window, as the program has it
        g_fCommandLineMode = true;
        g_fShowProgress = false;
        g_fUsbMode = true;
        g_typeQuorba = TYPEQUORBA_Quorba2;
        g_lTimeout = 2000;
        g_fRamOnly = false;
        g_fProgrammingQuorba = false;
        Download::SetRunOutcome(Download::RunOutcome::None);
        ZintrixHost::SetControlFactory([this](IUnknown** out) -> HRESULT {
            if (FAILED(factoryResult)) return factoryResult;
            FakePortControl* c = FakePortControl::Create();
            c->AddRef();  // ours, for looking at it afterwards
            made.push_back(c);
            if (onControlMade) onControlMade(*c);
            *out = static_cast<IDispatch*>(c);
            return S_OK;
        });
    }
    void TearDown() override {
        if (forms::frmDownloading* w = ::frmDownloading.Peek(); w && w->IsLoaded()) w->Unload();
        ::frmDownloading.Reset();
        platform::RunDeferredDeletes();
        ZintrixHost::SetControlFactory(nullptr);
        for (FakePortControl* c : made) c->Release();
        made.clear();
        g_fProgrammingQuorba = false;
        forms::SetMainWindowLink(nullptr);
        SetHost(nullptr);
    }

    forms::frmDownloading& Window() { return *::frmDownloading; }
    FakePortControl& Control() { return *made.back(); }

    // Every caption the status label of the current window takes from now on.
    void RecordStatus() {
        forms::frmDownloading& w = Window();
        auto previous = w.lblStatus.Change;
        w.lblStatus.Change = [this, &w, previous] {
            statuses.push_back(w.lblStatus.Caption());
            if (previous) previous();
        };
    }

    RecordingHost host;
    WinMainWindowLink mainWindowLink;
    HRESULT factoryResult = S_OK;
    std::function<void(FakePortControl&)> onControlMade;
    std::vector<FakePortControl*> made;
    std::vector<std::string> statuses;
};

}  // namespace WindowTest
