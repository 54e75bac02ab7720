#pragma once

#include "registry/RegistryApi.h"
#include "testkit/RegistryCallHook.h"
#include "testkit/RegistrySandbox.h"

#include <gtest/gtest.h>

#include <string>

// A test on the sandboxed registry; the registry function table is restored afterwards.
class RegistryTest : public testing::Test {
protected:
    RegistryTest() : savedApi_(ActiveRegistryApi()) {}
    ~RegistryTest() override { ActiveRegistryApi() = savedApi_; }

    static std::string Bytes(std::initializer_list<unsigned char> bytes)
    {
        return std::string(bytes.begin(), bytes.end());
    }

    RegistrySandbox sandbox_;

private:
    RegistryApi savedApi_;
};

// Counts the keys opened and closed through the function table, to prove none is left open.
struct KeyHandleCounter {
    static inline int opened = 0;
    static inline int closed = 0;

    static void Install()
    {
        opened = closed = 0;
        RegistryCallHook::Install([](const RegistryCallFacts& facts, const std::function<LSTATUS()>& system) {
            const LSTATUS status = system();
            opened += facts.call == RegistryCall::OpenKeyEx && status == ERROR_SUCCESS;
            closed += facts.call == RegistryCall::CloseKey;
            return status;
        });
    }
};

// The ANSI code page the current test run is meant to have (936 unless the run says otherwise).
unsigned ExpectedAnsiCodePage();
