#include "ComDispatchObject.h"

#include "ComVariant.h"

namespace com {

namespace {
// The server's exception; its texts are freed whatever happens.
class ExceptionInfo
{
public:
    ExceptionInfo() { ZeroMemory(&m_info, sizeof m_info); }
    ~ExceptionInfo()
    {
        SysFreeString(m_info.bstrSource);
        SysFreeString(m_info.bstrDescription);
        SysFreeString(m_info.bstrHelpFile);
    }
    ExceptionInfo(const ExceptionInfo &) = delete;
    ExceptionInfo &operator=(const ExceptionInfo &) = delete;

    EXCEPINFO *get() { return &m_info; }

    void AddTo(Error &error)
    {
        // A server may leave the texts to be filled in only when they are wanted.
        if (m_info.pfnDeferredFillIn)
            m_info.pfnDeferredFillIn(&m_info);
        const std::int32_t code =
            m_info.scode != 0 ? std::int32_t(m_info.scode) : std::int32_t(m_info.wCode);
        error.SetServerException(code, FromBstr(m_info.bstrSource),
                                 FromBstr(m_info.bstrDescription));
    }

private:
    EXCEPINFO m_info;
};
} // namespace

DispatchObject::DispatchObject(IDispatch *dispatch) : m_dispatch(dispatch) {}

DispatchObject::~DispatchObject()
{
    if (m_dispatch)
        m_dispatch->Release();
}

DISPID DispatchObject::memberId(std::u16string_view member)
{
    if (const auto known = m_memberIds.find(member); known != m_memberIds.end())
        return known->second;
    std::u16string name(member);
    LPOLESTR names[] = {reinterpret_cast<LPOLESTR>(name.data())};
    DISPID id = DISPID_UNKNOWN;
    const HRESULT result = m_dispatch->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(result))
        throw Error(Error::Step::FindMember, name, result);
    m_memberIds.emplace(std::move(name), id);
    return id;
}

Value DispatchObject::Call(std::u16string_view member, const std::vector<Value> &arguments)
{
    const DISPID id = memberId(member);
    ArgumentList argumentList(arguments, member);
    DISPPARAMS parameters{argumentList.data(), nullptr, argumentList.size(), 0};
    Variant result;
    ExceptionInfo exception;
    UINT argumentError = 0;
    const HRESULT outcome = m_dispatch->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT,
                                               DISPATCH_METHOD | DISPATCH_PROPERTYGET, &parameters,
                                               result.get(), exception.get(), &argumentError);
    if (FAILED(outcome)) {
        Error error(Error::Step::CallMember, std::u16string(member), outcome);
        if (outcome == DISP_E_EXCEPTION)
            exception.AddTo(error);
        // The server counts from the last argument; callers count from the first.
        if ((outcome == DISP_E_TYPEMISMATCH || outcome == DISP_E_PARAMNOTFOUND) &&
            argumentError < argumentList.size())
            error.SetArgument(int(argumentList.size() - argumentError));
        throw error;
    }
    return FromVariant(result.value(), member);
}

} // namespace com
