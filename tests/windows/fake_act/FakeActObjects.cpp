// The automation objects, their state and the dispatch they share. Clients are single-threaded
// apartments (the DLL registers as "Apartment"), so no call runs concurrently with another.

#include "FakeAct.h"

#include <algorithm>
#include <array>
#include <map>
#include <new>
#include <string>
#include <vector>

namespace {

struct Field
{
    LONG number;
    const wchar_t *label;
};
// ACT!'s standard numbers and names, the list the Linux stand-in starts with.
const Field Fields[] = {
#define TYPICAL_FIELD(number, label) {number, L"" label},
#include "act/standin/TypicalFields.inc"
};

using CommandTexts = std::array<std::wstring, 7>; // name, path, folder, tooltip, ..., icons

bool SameName(const std::wstring &a, const std::wstring &b)
{
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

struct State
{
    bool open = false;
    std::vector<std::map<LONG, std::wstring>> contacts;
    size_t current = 0;
    std::vector<CommandTexts> commands;
    std::vector<std::wstring> toolbars[2]; // 1 and 3

    State() { Reset(); }
    void Reset()
    {
        open = false;
        contacts = {{{25, L"Muster GmbH"}, {78, L"Erika"}, {79, L"Mustermann"}}};
        current = 0;
        commands.clear();
        toolbars[0].clear();
        toolbars[1].clear();
    }
    std::vector<CommandTexts>::iterator Command(const std::wstring &name)
    {
        return std::find_if(commands.begin(), commands.end(),
                            [&](const CommandTexts &texts) { return SameName(texts[0], name); });
    }
};

State &state()
{
    static State instance;
    return instance;
}

struct Failure
{
    std::wstring description;
    bool deferred = false;
};

[[noreturn]] void Fail(const std::wstring &description, bool deferred = false)
{
    throw Failure{description, deferred};
}

std::wstring Quoted(const std::wstring &text)
{
    return L"\u201E" + text + L"\u201C";
}

// The coerced arguments of one call, in declared order.
class Args
{
public:
    explicit Args(size_t count) : m_values(count)
    {
        for (VARIANT &value : m_values)
            VariantInit(&value);
    }
    ~Args()
    {
        for (VARIANT &value : m_values)
            VariantClear(&value);
    }
    Args(const Args &) = delete;
    Args &operator=(const Args &) = delete;

    HRESULT Coerce(size_t i, VARIANT &source, VARTYPE type)
    {
        return VariantChangeType(&m_values[i], &source, 0, type); // dereferences VT_BYREF
    }
    SHORT I2(size_t i) const { return m_values[i].iVal; }
    LONG I4(size_t i) const { return m_values[i].lVal; }
    std::wstring Text(size_t i) const
    {
        const BSTR text = m_values[i].bstrVal;
        return text ? std::wstring(text, SysStringLen(text)) : std::wstring();
    }

private:
    std::vector<VARIANT> m_values;
};

struct Member
{
    const wchar_t *name;
    std::vector<VARTYPE> params;
    void (*run)(const Args &, VARIANT *result); // throws Failure
};

struct Kind
{
    const wchar_t *source;
    std::vector<Member> members;
    bool counted = true; // the control object is not
};

LONG liveObjects = 0;
std::wstring pendingSource, pendingDescription;
bool fillInAtOnce = false;

HRESULT STDAPICALLTYPE FillInDeferred(EXCEPINFO *info)
{
    info->bstrSource = SysAllocString(pendingSource.c_str());
    info->bstrDescription = SysAllocString(pendingDescription.c_str());
    info->pfnDeferredFillIn = nullptr;
    return S_OK;
}

// IDispatch over a member table: DISPID = index + 1.
class Object : public IDispatch
{
public:
    explicit Object(const Kind &kind) : m_kind(kind)
    {
        liveObjects += kind.counted;
        ServerAddRef();
    }
    virtual ~Object()
    {
        liveObjects -= m_kind.counted;
        ServerRelease();
    }
    Object(const Object &) = delete;
    Object &operator=(const Object &) = delete;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void **object) override
    {
        if (!IsEqualIID(riid, IID_IUnknown) && !IsEqualIID(riid, IID_IDispatch)) {
            *object = nullptr;
            return E_NOINTERFACE;
        }
        *object = static_cast<IDispatch *>(this);
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ULONG(++m_refs); }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const LONG left = --m_refs;
        if (left == 0)
            delete this;
        return ULONG(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT *count) override
    {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo **) override
    {
        return DISP_E_BADINDEX;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR *names, UINT count, LCID,
                                            DISPID *ids) override
    {
        std::fill(ids, ids + count, DISPID_UNKNOWN);
        const auto &members = m_kind.members;
        for (size_t m = 0; m < members.size(); ++m) {
            if (_wcsicmp(names[0], members[m].name) == 0)
                ids[0] = DISPID(m + 1);
        }
        // Members take no named arguments, so any further name is unknown.
        return ids[0] == DISPID_UNKNOWN || count > 1 ? DISP_E_UNKNOWNNAME : S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS *params,
                                     VARIANT *result, EXCEPINFO *info, UINT *argErr) override
    {
        if (result)
            VariantInit(result); // stays empty whenever the call fails
        if (id < 1 || size_t(id) > m_kind.members.size())
            return DISP_E_MEMBERNOTFOUND;
        const Member &member = m_kind.members[size_t(id - 1)];
        if (params->cNamedArgs > 0)
            return DISP_E_NONAMEDARGS;
        if (params->cArgs != member.params.size())
            return DISP_E_BADPARAMCOUNT;
        Args args(member.params.size());
        for (size_t i = 0; i < member.params.size(); ++i) {
            const UINT slot = params->cArgs - 1 - UINT(i); // arguments come reversed
            if (FAILED(args.Coerce(i, params->rgvarg[slot], member.params[i]))) {
                if (argErr)
                    *argErr = slot;
                return DISP_E_TYPEMISMATCH;
            }
        }
        VARIANT value;
        VariantInit(&value);
        try {
            member.run(args, &value);
        } catch (const Failure &failure) {
            VariantClear(&value);
            Raise(failure, info);
            return DISP_E_EXCEPTION;
        }
        if (result)
            *result = value; // hands the value over
        else
            VariantClear(&value);
        return S_OK;
    }

private:
    void Raise(const Failure &failure, EXCEPINFO *info) const
    {
        if (!info)
            return;
        ZeroMemory(info, sizeof *info);
        info->scode = E_FAIL;
        if (failure.deferred) {
            pendingSource = m_kind.source;
            pendingDescription = failure.description;
            info->pfnDeferredFillIn = FillInDeferred;
            if (fillInAtOnce)
                FillInDeferred(info);
            return;
        }
        info->bstrSource = SysAllocString(m_kind.source);
        info->bstrDescription = SysAllocString(failure.description.c_str());
    }

    LONG m_refs = 1;
    const Kind &m_kind;
};

void SetBool(VARIANT *result, bool value)
{
    result->vt = VT_BOOL;
    result->boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

void SetI4(VARIANT *result, LONG value)
{
    result->vt = VT_I4;
    result->lVal = value;
}

void SetText(VARIANT *result, const std::wstring &value)
{
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocStringLen(value.data(), UINT(value.size()));
}

void SetObject(VARIANT *result, const Kind &kind)
{
    result->vt = VT_DISPATCH;
    result->pdispVal = new Object(kind);
}

void RequireField(LONG number)
{
    if (std::none_of(std::begin(Fields), std::end(Fields),
                     [number](const Field &field) { return field.number == number; }))
        Fail(L"Das Feld " + std::to_wstring(number) + L" gibt es nicht.");
}

std::vector<std::wstring> &Toolbar(SHORT toolbar)
{
    if (toolbar != 1 && toolbar != 3)
        Fail(L"Keine Symbolleiste " + std::to_wstring(toolbar) + L".");
    return state().toolbars[toolbar == 3];
}

std::vector<CommandTexts>::iterator KnownCommand(const std::wstring &name)
{
    const auto command = state().Command(name);
    if (command == state().commands.end())
        Fail(L"Den Befehl " + Quoted(name) + L" gibt es nicht.");
    return command;
}

auto OnToolbar(std::vector<std::wstring> &toolbar, const std::wstring &name)
{
    return std::find_if(toolbar.begin(), toolbar.end(),
                        [&](const std::wstring &entry) { return SameName(entry, name); });
}

const Kind FieldCollection{L"ACTOLE.FIELDS",
                           {{L"FieldIdAt",
                             {VT_I2},
                             [](const Args &args, VARIANT *result) {
                                 const SHORT position = args.I2(0);
                                 if (position < 0 || size_t(position) >= std::size(Fields))
                                     Fail(L"Keine Feldposition " + std::to_wstring(position) +
                                          L".");
                                 SetI4(result, Fields[position].number);
                             }},
                            {L"Label", {VT_I4}, [](const Args &args, VARIANT *result) {
                                 RequireField(args.I4(0));
                                 for (const Field &field : Fields) {
                                     if (field.number == args.I4(0))
                                         SetText(result, field.label);
                                 }
                             }}}};

const Kind ContactTable{
    L"ACTOLE.CONTACT",
    {{L"Fields", {}, [](const Args &, VARIANT *result) { SetObject(result, FieldCollection); }},
     {L"FieldCount", {}, [](const Args &, VARIANT *result) {
          result->vt = VT_I2;
          result->iVal = SHORT(std::size(Fields));
      }}}};

const Kind Database{
    L"ACTOLE.DATABASE",
    {{L"OpenEx",
      {VT_BSTR},
      [](const Args &args, VARIANT *) {
          if (!args.Text(0).empty())
              Fail(L"Die Datenbank " + Quoted(args.Text(0)) + L" gibt es nicht.", true);
          state().open = true;
      }},
     {L"IsOpen", {}, [](const Args &, VARIANT *result) { SetBool(result, state().open); }},
     {L"Contact", {}, [](const Args &, VARIANT *result) {
          if (!state().open)
              Fail(L"Keine Datenbank geöffnet.");
          SetObject(result, ContactTable);
      }}}};

const Kind ContactView{L"ACTOLE.CONTACTVIEW",
                       {{L"AddNewContact",
                         {},
                         [](const Args &, VARIANT *) {
                             state().contacts.emplace_back();
                             state().current = state().contacts.size() - 1;
                         }},
                        {L"SetField",
                         {VT_I4, VT_BSTR},
                         [](const Args &args, VARIANT *) {
                             RequireField(args.I4(0));
                             state().contacts[state().current][args.I4(0)] = args.Text(1);
                         }},
                        {L"GetField",
                         {VT_I4},
                         [](const Args &args, VARIANT *result) {
                             RequireField(args.I4(0));
                             SetText(result, state().contacts[state().current][args.I4(0)]);
                         }},
                        {L"ContactCount", {}, [](const Args &, VARIANT *result) {
                             SetI4(result, LONG(state().contacts.size()));
                         }}}};

const Kind ViewCollection{
    L"ACTOLE.VIEWS", {{L"Create", {VT_I2, VT_BSTR}, [](const Args &args, VARIANT *result) {
                           if (args.I2(0) != 1 || _wcsicmp(args.Text(1).c_str(), L"ContactView"))
                               Fail(L"Keine Ansicht " + std::to_wstring(args.I2(0)) + L"/" +
                                    Quoted(args.Text(1)) + L".");
                           SetObject(result, ContactView);
                       }}}};

const Kind AppObject{L"ACTOLE.APPOBJECT", {{L"Views", {}, [](const Args &, VARIANT *result) {
                                                SetObject(result, ViewCollection);
                                            }}}};

const Kind AuxCmds{
    L"ACTOLE.AUXCMDS",
    {{L"AddAuxCommand",
      {VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_I2},
      [](const Args &args, VARIANT *result) {
          CommandTexts texts;
          for (size_t i = 0; i < texts.size(); ++i)
              texts[i] = args.Text(i);
          const bool taken =
              texts[0].empty() || state().Command(texts[0]) != state().commands.end();
          if (!taken)
              state().commands.push_back(texts);
          SetI4(result, taken ? 1 : 0);
      }},
     {L"AuxCommandExists",
      {VT_BSTR},
      [](const Args &args, VARIANT *result) {
          SetI4(result, state().Command(args.Text(0)) != state().commands.end());
      }},
     {L"DeleteAuxCommand",
      {VT_BSTR},
      [](const Args &args, VARIANT *result) {
          const auto command = KnownCommand(args.Text(0));
          for (auto &toolbar : state().toolbars)
              std::erase_if(toolbar,
                            [&](const std::wstring &e) { return SameName(e, args.Text(0)); });
          state().commands.erase(command);
          SetI4(result, 0);
      }},
     {L"AddAuxCommandToToolbar",
      {VT_I2, VT_BSTR},
      [](const Args &args, VARIANT *result) {
          auto &toolbar = Toolbar(args.I2(0));
          const std::wstring name = (*KnownCommand(args.Text(1)))[0];
          if (OnToolbar(toolbar, name) == toolbar.end())
              toolbar.push_back(name);
          SetI4(result, 0);
      }},
     {L"AuxCommandExistsInToolbar",
      {VT_I2, VT_BSTR},
      [](const Args &args, VARIANT *result) {
          auto &toolbar = Toolbar(args.I2(0));
          SetI4(result, OnToolbar(toolbar, args.Text(1)) != toolbar.end());
      }},
     {L"RemoveAuxCommandFromToolbar",
      {VT_I2, VT_BSTR},
      [](const Args &args, VARIANT *result) {
          auto &toolbar = Toolbar(args.I2(0));
          if (const auto entry = OnToolbar(toolbar, args.Text(1)); entry != toolbar.end())
              toolbar.erase(entry);
          SetI4(result, 0);
      }},
     {L"AuxCommandText", {VT_BSTR, VT_I2}, [](const Args &args, VARIANT *result) {
          const auto command = KnownCommand(args.Text(0));
          if (args.I2(1) < 0 || size_t(args.I2(1)) >= command->size())
              Fail(L"Keine Textnummer " + std::to_wstring(args.I2(1)) + L".");
          SetText(result, (*command)[size_t(args.I2(1))]);
      }}}};

const Kind ActEvent{
    L"ACTEVENTLib.ActEvent",
    {{L"IsActRunning", {}, [](const Args &, VARIANT *result) { SetBool(result, true); }}}};

// Lets a test see and reset the server's state across a process boundary.
const Kind Control{
    L"FakeAct.Control",
    {{L"LiveObjects", {}, [](const Args &, VARIANT *result) { SetI4(result, liveObjects); }},
     {L"Reset", {}, [](const Args &, VARIANT *) { state().Reset(); }},
     // What no ACT! member tells: how many commands and buttons there are in all.
     {L"CommandCount",
      {},
      [](const Args &, VARIANT *result) { SetI4(result, LONG(state().commands.size())); }},
     {L"ButtonCount",
      {VT_I2},
      [](const Args &args, VARIANT *result) { SetI4(result, LONG(Toolbar(args.I2(0)).size())); }}},
    false};

template <const Kind &kind> IDispatch *Create()
{
    return new (std::nothrow) Object(kind);
}

const ServedClass Classes[] = {
    {L"ACTEVENTLib.ActEvent",
     {0xc264c5c5, 0x1c4d, 0x488a, {0xb6, 0x0e, 0xfe, 0xc1, 0x50, 0xc9, 0xa3, 0x2e}},
     Create<ActEvent>},
    {L"ACTOLE.DATABASE",
     {0xa3545b7a, 0x880a, 0x4450, {0x90, 0xdf, 0x55, 0x0d, 0xcd, 0x00, 0xd6, 0x10}},
     Create<Database>},
    {L"ACTOLE.APPOBJECT",
     {0xc00d9467, 0x10fb, 0x4875, {0xa2, 0x83, 0x91, 0xe5, 0x77, 0x6d, 0x75, 0x63}},
     Create<AppObject>},
    {L"ACTOLE.AUXCMDS",
     {0xdaef1e5c, 0x9b74, 0x404c, {0x86, 0x34, 0x53, 0x93, 0xf3, 0xa7, 0x94, 0xa5}},
     Create<AuxCmds>},
    {L"FakeAct.Control",
     {0xf259560a, 0xa075, 0x43c9, {0xa3, 0x32, 0x72, 0xdf, 0x90, 0x5c, 0x4b, 0xc6}},
     Create<Control>},
};

} // namespace

std::span<const ServedClass> ServedClasses()
{
    return Classes;
}

void FillInFailuresAtOnce()
{
    fillInAtOnce = true;
}
