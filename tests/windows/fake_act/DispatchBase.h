#pragma once

#include <oaidl.h>
#include <windows.h>

#include <string>
#include <vector>

// Number of automation objects alive in this process (class factories and control objects
// excluded).
LONG liveObjectCount();

// A member's failure: becomes DISP_E_EXCEPTION with the object's source and this text.
struct MemberFailure
{
    std::wstring description;
    bool deferred = false; // fill EXCEPINFO only when the client asks (pfnDeferredFillIn)
};

// Out of process, deferred failures are filled in before Invoke returns, as the standard
// marshaler is meant to do it; the one Wine has sends the function pointer across instead.
void fillInFailuresAtOnce();

// Coerced arguments of one call, in declared order (first argument at index 0).
class CallArgs
{
public:
    explicit CallArgs(size_t count);
    ~CallArgs();
    CallArgs(const CallArgs &) = delete;
    CallArgs &operator=(const CallArgs &) = delete;

    SHORT i2(size_t i) const { return values_[i].iVal; }
    LONG i4(size_t i) const { return values_[i].lVal; }
    std::wstring text(size_t i) const;

    // Converts `source` (by reference or not) to `type` as argument i.
    HRESULT coerce(size_t i, VARIANT &source, VARTYPE type);

private:
    std::vector<VARIANT> values_;
};

// IDispatch without a type library: a fixed member table (DISPID = index + 1), arguments
// coerced to declared types, failures raised as DISP_E_EXCEPTION.
class DispatchBase : public IDispatch
{
public:
    struct Member
    {
        const wchar_t *name;
        std::vector<VARTYPE> params; // VT_I2, VT_I4 or VT_BSTR
    };

    // `counted`: part of liveObjectCount(); the test control object is not.
    DispatchBase(const wchar_t *source, const std::vector<Member> &members, bool counted = true);
    virtual ~DispatchBase();
    DispatchBase(const DispatchBase &) = delete;
    DispatchBase &operator=(const DispatchBase &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override;
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID lcid, ITypeInfo **info) override;
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID riid, LPOLESTR *names, UINT count, LCID lcid,
                                            DISPID *ids) override;
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID riid, LCID lcid, WORD flags,
                                     DISPPARAMS *params, VARIANT *result, EXCEPINFO *excepInfo,
                                     UINT *argErr) override;

protected:
    // Runs member `index` of the table; *result is VT_EMPTY on entry. Throws MemberFailure.
    virtual void call(size_t index, const CallArgs &args, VARIANT *result) = 0;

private:
    void raise(const MemberFailure &failure, EXCEPINFO *excepInfo) const;

    LONG refs_ = 1;
    const bool counted_;
    const wchar_t *source_;
    const std::vector<Member> &members_;
};

// Helpers for results.
void setBool(VARIANT *result, bool value);
void setI2(VARIANT *result, SHORT value);
void setI4(VARIANT *result, LONG value);
void setText(VARIANT *result, const std::wstring &value);
void setObject(VARIANT *result, IDispatch *object); // takes over the caller's reference
