#include "ClassFactory.h"

#include "ServerLifetime.h"

namespace {

LONG factories = 0;

} // namespace

ClassFactory::ClassFactory(const ServedClass &served) : served_(served)
{
    InterlockedIncrement(&factories);
}

ClassFactory::~ClassFactory()
{
    InterlockedDecrement(&factories);
}

LONG ClassFactory::liveCount()
{
    return InterlockedCompareExchange(&factories, 0, 0);
}

HRESULT STDMETHODCALLTYPE ClassFactory::QueryInterface(REFIID riid, void **object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
        *object = static_cast<IClassFactory *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ClassFactory::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE ClassFactory::Release()
{
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE ClassFactory::CreateInstance(IUnknown *outer, REFIID riid, void **object)
{
    noteServerActivity();
    if (!object)
        return E_POINTER;
    *object = nullptr;
    if (outer)
        return CLASS_E_NOAGGREGATION;
    // A client holding the factory past the end would otherwise get an object from a server
    // that is about to exit.
    if (refusesNewObjects())
        return CO_E_SERVER_STOPPING;
    IDispatch *instance = served_.create();
    if (!instance)
        return E_OUTOFMEMORY;
    const HRESULT hr = instance->QueryInterface(riid, object);
    instance->Release();
    return hr;
}

HRESULT STDMETHODCALLTYPE ClassFactory::LockServer(BOOL lock)
{
    if (lock)
        serverAddRef();
    else
        serverRelease();
    return S_OK;
}
