#pragma once

#include "act/com/Automation.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <functional>
#include <string>

// The fake ACT! server's control object: it counts and resets what the server
// serves, in this process or out of it. Not counted itself.
class FakeServer
{
public:
    FakeServer() : m_control(com::CreateObject(u"FakeAct.Control")) {}

    LONG LiveObjects() const { return std::get<std::int32_t>(m_control->Call(u"LiveObjects", {})); }
    void Reset() const { m_control->Call(u"Reset", {}); }

private:
    com::ObjectPtr m_control;
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
