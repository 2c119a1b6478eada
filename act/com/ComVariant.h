#pragma once

// Conversions between the client's values and VARIANTs. Windows only.

#include "Automation.h"

// windows.h first: the COM headers build on its types.
#include <windows.h>

#include <oleauto.h>

#include <vector>

namespace com {

// A VARIANT that clears itself.
class Variant
{
public:
    Variant() { VariantInit(&m_value); }
    ~Variant() { VariantClear(&m_value); }
    Variant(const Variant &) = delete;
    Variant &operator=(const Variant &) = delete;

    VARIANT *get() { return &m_value; }
    const VARIANT &value() const { return m_value; }

private:
    VARIANT m_value;
};

// The arguments of one Invoke, in the reverse order IDispatch expects; every
// VARIANT is cleared when the list goes.
class ArgumentList
{
public:
    // Throws Error (Step::Convert, subject = member) for a value COM cannot carry.
    ArgumentList(const std::vector<Value> &arguments, std::u16string_view member);
    ~ArgumentList();
    ArgumentList(const ArgumentList &) = delete;
    ArgumentList &operator=(const ArgumentList &) = delete;

    VARIANTARG *data() { return m_variants.empty() ? nullptr : m_variants.data(); }
    UINT size() const { return UINT(m_variants.size()); }

private:
    std::vector<VARIANTARG> m_variants;
};

// A BSTR's text with its length (a NUL inside survives); a null BSTR is "".
std::u16string FromBstr(BSTR text);

// The client's value for a result VARIANT (left unchanged). Integers wider
// than 32 bits must fit; numbers of other kinds arrive as their text.
Value FromVariant(const VARIANT &variant, std::u16string_view member);

} // namespace com
