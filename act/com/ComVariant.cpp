#include "ComVariant.h"

#include "ComDispatchObject.h"

#include <limits>

namespace com {

namespace {
[[noreturn]] void conversionFailed(std::u16string_view subject, HRESULT result, int argument = 0)
{
    Error error(Error::Step::Convert, std::u16string(subject), result);
    error.SetArgument(argument);
    throw error;
}

// Fills a cleared VARIANT; throws before anything needs freeing.
void toVariant(const Value &value, VARIANTARG &variant, std::u16string_view member, int position)
{
    if (std::holds_alternative<std::monostate>(value)) {
        variant.vt = VT_EMPTY;
    } else if (const auto *number = std::get_if<std::int16_t>(&value)) {
        variant.vt = VT_I2;
        variant.iVal = *number;
    } else if (const auto *number = std::get_if<std::int32_t>(&value)) {
        variant.vt = VT_I4;
        variant.lVal = *number;
    } else if (const auto *flag = std::get_if<bool>(&value)) {
        variant.vt = VT_BOOL;
        variant.boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const auto *text = std::get_if<std::u16string>(&value)) {
        if (text->size() > std::numeric_limits<UINT>::max())
            conversionFailed(member, E_OUTOFMEMORY, position);
        // The length is passed, so a text with a NUL in it arrives whole.
        BSTR string =
            SysAllocStringLen(reinterpret_cast<const OLECHAR *>(text->data()), UINT(text->size()));
        if (!string)
            conversionFailed(member, E_OUTOFMEMORY, position);
        variant.vt = VT_BSTR;
        variant.bstrVal = string;
    } else {
        const ObjectPtr &object = std::get<ObjectPtr>(value);
        IDispatch *dispatch = nullptr;
        if (object) {
            const auto *comObject = dynamic_cast<const DispatchObject *>(object.get());
            if (!comObject)
                conversionFailed(member, E_INVALIDARG, position);
            dispatch = comObject->Interface();
            dispatch->AddRef();
        }
        variant.vt = VT_DISPATCH;
        variant.pdispVal = dispatch;
    }
}

Value fromInteger(long long number, std::u16string_view member)
{
    if (number < std::numeric_limits<std::int32_t>::min() ||
        number > std::numeric_limits<std::int32_t>::max())
        conversionFailed(member, DISP_E_OVERFLOW);
    return std::int32_t(number);
}

Value fromDirectVariant(const VARIANT &variant, std::u16string_view member)
{
    switch (variant.vt) {
    case VT_EMPTY:
    case VT_NULL:
        return std::monostate{};
    case VT_I2:
        return std::int16_t(variant.iVal);
    case VT_I1:
        return std::int16_t(variant.cVal);
    case VT_UI1:
        return std::int16_t(variant.bVal);
    case VT_UI2:
        return std::int32_t(variant.uiVal);
    case VT_I4:
        return std::int32_t(variant.lVal);
    case VT_INT:
        return std::int32_t(variant.intVal);
    case VT_UI4:
        return fromInteger(variant.ulVal, member);
    case VT_UINT:
        return fromInteger(variant.uintVal, member);
    case VT_I8:
        return fromInteger(variant.llVal, member);
    case VT_UI8:
        if (variant.ullVal > ULONGLONG(std::numeric_limits<std::int32_t>::max()))
            conversionFailed(member, DISP_E_OVERFLOW);
        return std::int32_t(variant.ullVal);
    case VT_BOOL:
        return variant.boolVal != VARIANT_FALSE;
    case VT_BSTR:
        return FromBstr(variant.bstrVal);
    case VT_DISPATCH:
        if (!variant.pdispVal)
            return std::monostate{}; // Nothing
        variant.pdispVal->AddRef();
        return ObjectPtr(std::make_shared<DispatchObject>(variant.pdispVal));
    case VT_UNKNOWN: {
        if (!variant.punkVal)
            return std::monostate{};
        IDispatch *dispatch = nullptr;
        const HRESULT result =
            variant.punkVal->QueryInterface(IID_IDispatch, reinterpret_cast<void **>(&dispatch));
        if (FAILED(result) || !dispatch)
            conversionFailed(member, FAILED(result) ? result : E_NOINTERFACE);
        return ObjectPtr(std::make_shared<DispatchObject>(dispatch));
    }
    default: {
        // Dates, currency, floating point: their text is what a caller can use.
        Variant text;
        // The functions take no const source, though they leave it unchanged.
        const HRESULT result =
            VariantChangeType(text.get(), const_cast<VARIANT *>(&variant), 0, VT_BSTR);
        if (FAILED(result))
            conversionFailed(member, result);
        return fromDirectVariant(text.value(), member);
    }
    }
}
} // namespace

ArgumentList::ArgumentList(const std::vector<Value> &arguments, std::u16string_view member)
{
    m_variants.reserve(arguments.size());
    try {
        // IDispatch wants the last argument first.
        for (std::size_t i = arguments.size(); i-- > 0;) {
            VARIANTARG variant;
            VariantInit(&variant);
            toVariant(arguments[i], variant, member, int(i + 1));
            m_variants.push_back(variant);
        }
    } catch (...) {
        for (VARIANTARG &variant : m_variants)
            VariantClear(&variant);
        throw;
    }
}

ArgumentList::~ArgumentList()
{
    for (VARIANTARG &variant : m_variants)
        VariantClear(&variant);
}

std::u16string FromBstr(BSTR text)
{
    if (!text)
        return {};
    return std::u16string(reinterpret_cast<const char16_t *>(text), SysStringLen(text));
}

Value FromVariant(const VARIANT &variant, std::u16string_view member)
{
    if (!(variant.vt & VT_BYREF))
        return fromDirectVariant(variant, member);
    Variant direct;
    const HRESULT result = VariantCopyInd(direct.get(), const_cast<VARIANT *>(&variant));
    if (FAILED(result))
        conversionFailed(member, result);
    return fromDirectVariant(direct.value(), member);
}

} // namespace com
