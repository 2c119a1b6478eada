#include "DispatchBase.h"

#include "Guard.h"
#include "ServerLifetime.h"

#include <cstdint>
#include <deque>
#include <new>
#include <utility>

namespace {

LONG liveObjects = 0;

// Texts of deferred failures, keyed by the number the EXCEPINFO carries in pvReserved.
// Bounded: a client that never asks for the text must not make it grow without end.
struct PendingText
{
    uintptr_t key;
    std::wstring source;
    std::wstring description;
};
Guard pendingGuard;
std::deque<PendingText> pendingTexts;
uintptr_t lastPendingKey = 0;
constexpr size_t maxPendingTexts = 64;
bool fillInAtOnce = false;

HRESULT STDAPICALLTYPE fillInDeferred(EXCEPINFO *info)
{
    if (!info)
        return E_POINTER;
    std::wstring source;
    std::wstring description;
    {
        Guard::Lock lock(pendingGuard);
        const auto key = reinterpret_cast<uintptr_t>(info->pvReserved);
        for (auto it = pendingTexts.begin(); it != pendingTexts.end(); ++it) {
            if (it->key == key) {
                source = std::move(it->source);
                description = std::move(it->description);
                pendingTexts.erase(it);
                break;
            }
        }
    }
    if (description.empty())
        return E_UNEXPECTED;
    info->bstrSource = SysAllocStringLen(source.data(), static_cast<UINT>(source.size()));
    info->bstrDescription =
        SysAllocStringLen(description.data(), static_cast<UINT>(description.size()));
    info->scode = E_FAIL;
    info->pvReserved = nullptr;
    info->pfnDeferredFillIn = nullptr;
    return S_OK;
}

uintptr_t keepPending(const wchar_t *source, const std::wstring &description)
{
    Guard::Lock lock(pendingGuard);
    if (++lastPendingKey == 0)
        lastPendingKey = 1;
    if (pendingTexts.size() >= maxPendingTexts)
        pendingTexts.pop_front();
    pendingTexts.push_back({lastPendingKey, source, description});
    return lastPendingKey;
}

bool sameName(const wchar_t *a, const wchar_t *b)
{
    return CompareStringOrdinal(a, -1, b, -1, TRUE) == CSTR_EQUAL;
}

} // namespace

void fillInFailuresAtOnce()
{
    fillInAtOnce = true;
}

LONG liveObjectCount()
{
    return InterlockedCompareExchange(&liveObjects, 0, 0);
}

CallArgs::CallArgs(size_t count) : values_(count)
{
    for (auto &value : values_)
        VariantInit(&value);
}

CallArgs::~CallArgs()
{
    for (auto &value : values_)
        VariantClear(&value);
}

std::wstring CallArgs::text(size_t i) const
{
    const BSTR value = values_[i].bstrVal;
    return value ? std::wstring(value, SysStringLen(value)) : std::wstring();
}

HRESULT CallArgs::coerce(size_t i, VARIANT &source, VARTYPE type)
{
    VARIANT plain;
    VariantInit(&plain);
    HRESULT hr = VariantCopyInd(&plain, &source);
    if (SUCCEEDED(hr))
        hr = VariantChangeType(&values_[i], &plain, 0, type);
    VariantClear(&plain);
    return hr;
}

DispatchBase::DispatchBase(const wchar_t *source, const std::vector<Member> &members, bool counted)
    : counted_(counted), source_(source), members_(members)
{
    if (counted_)
        InterlockedIncrement(&liveObjects);
    serverAddRef();
}

DispatchBase::~DispatchBase()
{
    if (counted_)
        InterlockedDecrement(&liveObjects);
    serverRelease();
}

HRESULT STDMETHODCALLTYPE DispatchBase::QueryInterface(REFIID riid, void **object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IDispatch)) {
        *object = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE DispatchBase::AddRef()
{
    noteServerActivity();
    return static_cast<ULONG>(InterlockedIncrement(&refs_));
}

ULONG STDMETHODCALLTYPE DispatchBase::Release()
{
    noteServerActivity();
    const LONG left = InterlockedDecrement(&refs_);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE DispatchBase::GetTypeInfoCount(UINT *count)
{
    if (!count)
        return E_POINTER;
    *count = 0;
    return S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchBase::GetTypeInfo(UINT, LCID, ITypeInfo **info)
{
    if (info)
        *info = nullptr;
    return DISP_E_BADINDEX;
}

HRESULT STDMETHODCALLTYPE DispatchBase::GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count,
                                                      LCID, DISPID *ids)
{
    noteServerActivity();
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (!names || !ids || count == 0)
        return E_INVALIDARG;
    for (UINT i = 0; i < count; ++i)
        ids[i] = DISPID_UNKNOWN;
    for (size_t m = 0; names[0] && m < members_.size(); ++m) {
        if (sameName(names[0], members_[m].name)) {
            ids[0] = static_cast<DISPID>(m + 1);
            break;
        }
    }
    // Members take no named arguments, so any further name is unknown.
    return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
}

HRESULT STDMETHODCALLTYPE DispatchBase::Invoke(DISPID id, REFIID riid, LCID, WORD flags,
                                               DISPPARAMS *params, VARIANT *result,
                                               EXCEPINFO *excepInfo, UINT *argErr)
{
    noteServerActivity();
    if (result)
        VariantInit(result); // stays empty whenever the call fails
    if (!IsEqualIID(riid, IID_NULL))
        return DISP_E_UNKNOWNINTERFACE;
    if (id < 1 || static_cast<size_t>(id) > members_.size())
        return DISP_E_MEMBERNOTFOUND;
    if (!(flags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET)))
        return DISP_E_MEMBERNOTFOUND;
    if (!params)
        return E_INVALIDARG;
    if (params->cNamedArgs > 0)
        return DISP_E_NONAMEDARGS;
    const Member &member = members_[static_cast<size_t>(id - 1)];
    if (params->cArgs != member.params.size())
        return DISP_E_BADPARAMCOUNT;
    if (params->cArgs > 0 && !params->rgvarg)
        return E_INVALIDARG;

    try {
        CallArgs args(member.params.size());
        for (size_t i = 0; i < member.params.size(); ++i) {
            const UINT slot = params->cArgs - 1 - static_cast<UINT>(i); // arguments come reversed
            if (FAILED(args.coerce(i, params->rgvarg[slot], member.params[i]))) {
                if (argErr)
                    *argErr = slot;
                return DISP_E_TYPEMISMATCH;
            }
        }
        VARIANT value;
        VariantInit(&value);
        try {
            call(static_cast<size_t>(id - 1), args, &value);
        } catch (const MemberFailure &failure) {
            VariantClear(&value);
            raise(failure, excepInfo);
            return DISP_E_EXCEPTION;
        }
        if (result) {
            *result = value; // hands the value over
        } else {
            VariantClear(&value);
        }
        return S_OK;
    } catch (const std::bad_alloc &) {
        return E_OUTOFMEMORY;
    }
}

void DispatchBase::raise(const MemberFailure &failure, EXCEPINFO *excepInfo) const
{
    if (!excepInfo)
        return;
    ZeroMemory(excepInfo, sizeof(*excepInfo));
    excepInfo->scode = E_FAIL;
    if (failure.deferred) {
        excepInfo->pvReserved = reinterpret_cast<void *>(keepPending(source_, failure.description));
        excepInfo->pfnDeferredFillIn = fillInDeferred;
        if (fillInAtOnce)
            fillInDeferred(excepInfo);
        return;
    }
    excepInfo->bstrSource = SysAllocString(source_);
    excepInfo->bstrDescription = SysAllocStringLen(failure.description.data(),
                                                   static_cast<UINT>(failure.description.size()));
}

void setBool(VARIANT *result, bool value)
{
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void setI2(VARIANT *result, SHORT value)
{
    result->vt = VT_I2;
    result->iVal = value;
}

void setI4(VARIANT *result, LONG value)
{
    result->vt = VT_I4;
    result->lVal = value;
}

void setText(VARIANT *result, const std::wstring &value)
{
    const BSTR text = SysAllocStringLen(value.data(), static_cast<UINT>(value.size()));
    if (!text)
        throw std::bad_alloc();
    result->vt = VT_BSTR;
    result->bstrVal = text;
}

void setObject(VARIANT *result, IDispatch *object)
{
    result->vt = VT_DISPATCH;
    result->pdispVal = object;
}
