#include "Automation.h"

#include "ComApartment.h"
#include "ComDispatchObject.h"

// windows.h first: the COM headers build on its types.
#include <windows.h>

#include <objbase.h>

namespace com {

ObjectPtr CreateObject(std::u16string_view progId)
{
    EnsureApartment();
    const std::u16string name(progId);
    CLSID classId;
    HRESULT result = CLSIDFromProgID(reinterpret_cast<LPCOLESTR>(name.c_str()), &classId);
    if (FAILED(result))
        throw Error(Error::Step::CreateObject, name, result);
    IDispatch *dispatch = nullptr;
    result = CoCreateInstance(classId, nullptr, CLSCTX_INPROC_SERVER | CLSCTX_LOCAL_SERVER,
                              IID_IDispatch, reinterpret_cast<void **>(&dispatch));
    if (FAILED(result) || !dispatch)
        throw Error(Error::Step::CreateObject, name, FAILED(result) ? result : E_NOINTERFACE);
    return std::make_shared<DispatchObject>(dispatch);
}

} // namespace com
