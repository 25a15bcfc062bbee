#pragma once
// An application whose hooks only record that they ran, for driving the
// framework's messages and frames directly.
#include <map>
#include <string>
#include <vector>

#include "engine/framework/app_framework.h"
#include "engine/framework/app_test_support.h"

class CRecordingApp : public CAppFramework {
public:
    CRecordingApp() { m_instanceName = app_test::UniqueInstanceName(); }
    ~CRecordingApp() override { app_test::BalancePauses(*this); }

    void UseInstanceName(const std::string& name) { m_instanceName = name; }

    HResult OnInitOnce() override { return Record("OnInitOnce"); }
    HResult OnDeviceCreated() override { return Record("OnDeviceCreated"); }
    HResult OnDeviceReset() override { return Record("OnDeviceReset"); }
    HResult OnDeviceLost() override { return Record("OnDeviceLost"); }
    HResult OnDeviceDestroyed() override { return Record("OnDeviceDestroyed"); }
    HResult OnShutdown() override {
        const HResult result = Record("OnShutdown");
        if (closeAgainInShutdown) {
            SendMessage(WM_CLOSE);
        }
        return result;
    }
    HResult OnUpdate() override {
        ++updates;
        return failures.count("OnUpdate") != 0 ? failures["OnUpdate"] : RESULT_OK;
    }
    HResult OnRender() override {
        ++renders;
        GetDevice()->Clear(0xFF000000);
        return RESULT_OK;
    }
    // Runs right before every present.
    void UpdateFrameStats() override {
        ++presents;
        CAppFramework::UpdateFrameStats();
    }

    std::vector<std::string> calls;
    std::map<std::string, HResult> failures;
    bool closeAgainInShutdown = false;
    int updates = 0;
    int renders = 0;
    int presents = 0;

private:
    HResult Record(const std::string& hook) {
        calls.push_back(hook);
        return failures.count(hook) != 0 ? failures[hook] : RESULT_OK;
    }
};
