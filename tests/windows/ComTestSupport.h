#pragma once

#include "act/com/Automation.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

// The fake ACT! server's test exports, found in the module COM loaded.
struct FakeServer
{
    LONG (*LiveObjects)() = nullptr;
    void (*Reset)() = nullptr;

    static const FakeServer &Get()
    {
        static const FakeServer server = load();
        return server;
    }

private:
    static FakeServer load()
    {
        // Creating an object makes COM load the DLL from where it is registered;
        // pinning that module keeps its state for the whole run.
        com::CreateObject(u"ACTOLE.DATABASE");
        HMODULE module = GetModuleHandleW(L"fakeact.dll");
        wchar_t path[MAX_PATH] = {};
        if (!module || !GetModuleFileNameW(module, path, MAX_PATH) || !LoadLibraryW(path))
            return {};
        FakeServer server;
        server.LiveObjects =
            reinterpret_cast<LONG (*)()>(GetProcAddress(module, "FakeActLiveObjects"));
        server.Reset = reinterpret_cast<void (*)()>(GetProcAddress(module, "FakeActReset"));
        return server;
    }
};

inline com::Value Text(std::u16string text)
{
    return com::Value(std::move(text));
}

inline com::Value Short(std::int16_t number)
{
    return com::Value(number);
}

inline com::Value Long(std::int32_t number)
{
    return com::Value(number);
}

// The error a call throws; fails the test when it throws none.
inline com::Error ErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const com::Error &error) {
        return error;
    }
    ADD_FAILURE() << "no com::Error was thrown";
    return com::Error(com::Error::Step::CallMember, u"", 0);
}

inline std::string Narrow(const std::u16string &text)
{
    std::string narrow;
    for (char16_t c : text)
        narrow += c < 0x80 ? char(c) : '?';
    return narrow;
}
