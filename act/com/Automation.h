#pragma once

// The automation client in plain C++: no Windows header and no Qt here, so the
// Qt adapter above it can be built and tested on any platform.

#include <cstdint>
#include <exception>
#include <memory>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace com {

class AutomationObject;
using ObjectPtr = std::shared_ptr<AutomationObject>;

// The argument and result types the system exchanges with ACT!: 16- and 32-bit
// integers, booleans, texts (BSTR) and objects (IDispatch). monostate stands
// for an empty result and for Nothing.
using Value =
    std::variant<std::monostate, std::int16_t, std::int32_t, bool, std::u16string, ObjectPtr>;

// An object whose members are found by name when they are called.
class AutomationObject
{
public:
    virtual ~AutomationObject() = default;
    // Arguments in call order. Throws Error.
    virtual Value Call(std::u16string_view member, const std::vector<Value> &arguments) = 0;
};

// Every failure of the client: what was attempted, the COM result and, when the
// server raised an exception, its code, source and description.
class Error : public std::exception
{
public:
    enum class Step {
        CreateObject, // subject = the ProgID
        FindMember,   // subject = the member name
        CallMember,   // subject = the member name
        Convert,      // subject = the member name (or ProgID) whose value could not be taken
    };

    Error(Step step, std::u16string subject, std::int32_t result)
        : m_step(step), m_subject(std::move(subject)), m_result(result)
    {}

    Step GetStep() const { return m_step; }
    const std::u16string &Subject() const { return m_subject; }
    // The HRESULT of the failing call.
    std::int32_t Result() const { return m_result; }

    // Set when Result() is DISP_E_EXCEPTION.
    std::int32_t ServerCode() const { return m_serverCode; }
    const std::u16string &Source() const { return m_source; }
    const std::u16string &Description() const { return m_description; }
    void SetServerException(std::int32_t code, std::u16string source, std::u16string description)
    {
        m_serverCode = code;
        m_source = std::move(source);
        m_description = std::move(description);
    }

    // 1-based position, in call order, of the argument a type mismatch or a
    // missing argument concerns; 0 when none is named.
    int Argument() const { return m_argument; }
    void SetArgument(int position) { m_argument = position; }

    const char *what() const noexcept override { return "automation call failed"; }

private:
    Step m_step;
    std::u16string m_subject;
    std::int32_t m_result;
    std::int32_t m_serverCode = 0;
    std::u16string m_source;
    std::u16string m_description;
    int m_argument = 0;
};

// HRESULTs the callers tell apart (the values of the Windows headers).
namespace hresult {
inline constexpr std::int32_t ClassString = std::int32_t(0x800401F3);        // CO_E_CLASSSTRING
inline constexpr std::int32_t ClassNotRegistered = std::int32_t(0x80040154); // REGDB_E_CLASSNOTREG
inline constexpr std::int32_t UnknownName = std::int32_t(0x80020006);        // DISP_E_UNKNOWNNAME
inline constexpr std::int32_t MemberNotFound = std::int32_t(0x80020003);  // DISP_E_MEMBERNOTFOUND
inline constexpr std::int32_t Exception = std::int32_t(0x80020009);       // DISP_E_EXCEPTION
inline constexpr std::int32_t BadParamCount = std::int32_t(0x8002000E);   // DISP_E_BADPARAMCOUNT
inline constexpr std::int32_t TypeMismatch = std::int32_t(0x80020005);    // DISP_E_TYPEMISMATCH
inline constexpr std::int32_t Overflow = std::int32_t(0x8002000A);        // DISP_E_OVERFLOW
inline constexpr std::int32_t InvalidArgument = std::int32_t(0x80070057); // E_INVALIDARG
} // namespace hresult

#ifdef _WIN32
// Creates the object registered under progId (CLSIDFromProgID, then
// CoCreateInstance for IDispatch, in-process or local server). The calling
// thread joins a single-threaded apartment first if it has none.
ObjectPtr CreateObject(std::u16string_view progId);
#endif

} // namespace com
