#pragma once

// An automation object reached through IDispatch. Windows only.

#include "Automation.h"

// windows.h first: the COM headers build on its types.
#include <windows.h>

#include <oaidl.h>

#include <map>

namespace com {

class DispatchObject : public AutomationObject
{
public:
    // Takes over one reference of dispatch.
    explicit DispatchObject(IDispatch *dispatch);
    ~DispatchObject() override;
    DispatchObject(const DispatchObject &) = delete;
    DispatchObject &operator=(const DispatchObject &) = delete;

    // Finds the member by name (remembered per object, as a server may be in
    // another process), then calls it as method or property get.
    Value Call(std::u16string_view member, const std::vector<Value> &arguments) override;

    // The interface, still owned by this object.
    IDispatch *Interface() const { return m_dispatch; }

private:
    DISPID memberId(std::u16string_view member);

    IDispatch *m_dispatch;
    std::map<std::u16string, DISPID, std::less<>> m_memberIds;
};

} // namespace com
