#pragma once

#include "ServedClasses.h"

#include <objbase.h>

// Creates the objects of one served class.
class ClassFactory : public IClassFactory
{
public:
    explicit ClassFactory(const ServedClass &served);
    virtual ~ClassFactory();
    ClassFactory(const ClassFactory &) = delete;
    ClassFactory &operator=(const ClassFactory &) = delete;

    // Factories alive in this process: a held factory keeps the DLL loaded.
    static LONG liveCount();

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown *outer, REFIID riid, void **object) override;
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override;

private:
    LONG refs_ = 1;
    const ServedClass &served_;
};
