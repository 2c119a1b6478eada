#include "ComApartment.h"

// windows.h first: the COM headers build on its types.
#include <windows.h>

#include <objbase.h>

namespace com {

namespace {
// S_OK and S_FALSE both count once and must be balanced; RPC_E_CHANGED_MODE
// means the thread is in a multithreaded apartment already, which serves too.
bool joinSingleThreadedApartment()
{
    const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    return SUCCEEDED(result);
}
} // namespace

Apartment::Apartment() : m_leaveOnDestruction(joinSingleThreadedApartment()) {}

Apartment::~Apartment()
{
    if (m_leaveOnDestruction)
        CoUninitialize();
}

void EnsureApartment()
{
    thread_local const bool joined = (joinSingleThreadedApartment(), true);
    (void)joined;
}

} // namespace com
