#pragma once

#include <oaidl.h>

#include <span>

// A class the servers hand out by CLSID and ProgID.
struct ServedClass
{
    const wchar_t *progId;
    CLSID clsid;
    const wchar_t *description;
    IDispatch *(*create)(); // a new object with one reference, or nullptr
};

// ACT!'s four creatable classes, then the test control object.
std::span<const ServedClass> servedClasses();
