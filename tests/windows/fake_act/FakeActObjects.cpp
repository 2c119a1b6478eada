#include "FakeActObjects.h"

#include "DispatchBase.h"
#include "FakeActState.h"

#include <new>
#include <string>

namespace {

const std::wstring openQuote = L"\u201E";
const std::wstring closeQuote = L"\u201C";

std::wstring quoted(const std::wstring &text)
{
    return openQuote + text + closeQuote;
}

[[noreturn]] void fail(const std::wstring &description, bool deferred = false)
{
    throw MemberFailure{description, deferred};
}

FakeActState &state()
{
    return FakeActState::instance();
}

void requireField(LONG number)
{
    if (!FakeActState::isField(number))
        fail(L"Das Feld " + std::to_wstring(number) + L" gibt es nicht.");
}

void requireToolbar(SHORT toolbar)
{
    if (toolbar != 1 && toolbar != 3)
        fail(L"Keine Symbolleiste " + std::to_wstring(toolbar) + L".");
}

[[noreturn]] void failUnknownCommand(const std::wstring &name)
{
    fail(L"Den Befehl " + quoted(name) + L" gibt es nicht.");
}

template <class Object> IDispatch *make()
{
    return new (std::nothrow) Object();
}

// Hands a new member object to the result; out of memory surfaces as E_OUTOFMEMORY.
template <class Object> void setNew(VARIANT *result)
{
    setObject(result, new Object());
}

class ActEvent : public DispatchBase
{
public:
    ActEvent() : DispatchBase(L"ACTEVENTLib.ActEvent", members) {}

private:
    static inline const std::vector<Member> members = {{L"IsActRunning", {}}};

    void call(size_t, const CallArgs &, VARIANT *result) override { setBool(result, true); }
};

class FieldCollection : public DispatchBase
{
public:
    FieldCollection() : DispatchBase(L"ACTOLE.FIELDS", members) {}

private:
    enum { FieldIdAt, Label };
    static inline const std::vector<Member> members = {{L"FieldIdAt", {VT_I2}},
                                                       {L"Label", {VT_I4}}};

    void call(size_t index, const CallArgs &args, VARIANT *result) override
    {
        const auto &fields = FakeActState::fields();
        if (index == FieldIdAt) {
            const SHORT position = args.i2(0);
            if (position < 0 || static_cast<size_t>(position) >= fields.size())
                fail(L"Keine Feldposition " + std::to_wstring(position) + L".");
            setI4(result, fields[static_cast<size_t>(position)].number);
            return;
        }
        const LONG number = args.i4(0);
        requireField(number);
        for (const auto &field : fields) {
            if (field.number == number)
                setText(result, field.label);
        }
    }
};

class ContactTable : public DispatchBase
{
public:
    ContactTable() : DispatchBase(L"ACTOLE.CONTACT", members) {}

private:
    enum { Fields, FieldCount };
    static inline const std::vector<Member> members = {{L"Fields", {}}, {L"FieldCount", {}}};

    void call(size_t index, const CallArgs &, VARIANT *result) override
    {
        if (index == Fields)
            setNew<FieldCollection>(result);
        else
            setI2(result, static_cast<SHORT>(FakeActState::fields().size()));
    }
};

class Database : public DispatchBase
{
public:
    Database() : DispatchBase(L"ACTOLE.DATABASE", members) {}

private:
    enum { OpenEx, IsOpen, Contact };
    static inline const std::vector<Member> members = {
        {L"OpenEx", {VT_BSTR}}, {L"IsOpen", {}}, {L"Contact", {}}};

    void call(size_t index, const CallArgs &args, VARIANT *result) override
    {
        switch (index) {
        case OpenEx: {
            const std::wstring path = args.text(0);
            if (!path.empty())
                fail(L"Die Datenbank " + quoted(path) + L" gibt es nicht.", true);
            state().open();
            break;
        }
        case IsOpen:
            setBool(result, state().isOpen());
            break;
        case Contact:
            if (!state().isOpen())
                fail(L"Keine Datenbank geöffnet.");
            setNew<ContactTable>(result);
            break;
        }
    }
};

class ContactView : public DispatchBase
{
public:
    ContactView() : DispatchBase(L"ACTOLE.CONTACTVIEW", members) {}

private:
    enum { AddNewContact, SetField, GetField, ContactCount };
    static inline const std::vector<Member> members = {{L"AddNewContact", {}},
                                                       {L"SetField", {VT_I4, VT_BSTR}},
                                                       {L"GetField", {VT_I4}},
                                                       {L"ContactCount", {}}};

    void call(size_t index, const CallArgs &args, VARIANT *result) override
    {
        switch (index) {
        case AddNewContact:
            state().addContact();
            break;
        case SetField:
            requireField(args.i4(0));
            state().setCurrentField(args.i4(0), args.text(1));
            break;
        case GetField:
            requireField(args.i4(0));
            setText(result, state().currentField(args.i4(0)));
            break;
        case ContactCount:
            setI4(result, static_cast<LONG>(state().contactCount()));
            break;
        }
    }
};

class ViewCollection : public DispatchBase
{
public:
    ViewCollection() : DispatchBase(L"ACTOLE.VIEWS", members) {}

private:
    static inline const std::vector<Member> members = {{L"Create", {VT_I2, VT_BSTR}}};

    void call(size_t, const CallArgs &args, VARIANT *result) override
    {
        const SHORT kind = args.i2(0);
        const std::wstring name = args.text(1);
        const wchar_t contactView[] = L"ContactView";
        if (kind != 1 || CompareStringOrdinal(name.data(), static_cast<int>(name.size()),
                                              contactView, -1, TRUE) != CSTR_EQUAL)
            fail(L"Keine Ansicht " + std::to_wstring(kind) + L"/" + quoted(name) + L".");
        setNew<ContactView>(result);
    }
};

class AppObject : public DispatchBase
{
public:
    AppObject() : DispatchBase(L"ACTOLE.APPOBJECT", members) {}

private:
    static inline const std::vector<Member> members = {{L"Views", {}}};

    void call(size_t, const CallArgs &, VARIANT *result) override
    {
        setNew<ViewCollection>(result);
    }
};

class AuxCmds : public DispatchBase
{
public:
    AuxCmds() : DispatchBase(L"ACTOLE.AUXCMDS", members) {}

private:
    enum {
        AddAuxCommand,
        AuxCommandExists,
        DeleteAuxCommand,
        AddAuxCommandToToolbar,
        AuxCommandExistsInToolbar,
        RemoveAuxCommandFromToolbar,
        AuxCommandText
    };
    static inline const std::vector<Member> members = {
        {L"AddAuxCommand", {VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_BSTR, VT_I2}},
        {L"AuxCommandExists", {VT_BSTR}},
        {L"DeleteAuxCommand", {VT_BSTR}},
        {L"AddAuxCommandToToolbar", {VT_I2, VT_BSTR}},
        {L"AuxCommandExistsInToolbar", {VT_I2, VT_BSTR}},
        {L"RemoveAuxCommandFromToolbar", {VT_I2, VT_BSTR}},
        {L"AuxCommandText", {VT_BSTR, VT_I2}}};

    void call(size_t index, const CallArgs &args, VARIANT *result) override
    {
        switch (index) {
        case AddAuxCommand: {
            FakeActState::CommandTexts texts;
            for (size_t i = 0; i < texts.size(); ++i)
                texts[i] = args.text(i);
            setI4(result, state().addCommand(texts, args.i2(7)) ? 0 : 1);
            break;
        }
        case AuxCommandExists:
            setI4(result, state().commandExists(args.text(0)) ? 1 : 0);
            break;
        case DeleteAuxCommand:
            if (!state().deleteCommand(args.text(0)))
                failUnknownCommand(args.text(0));
            setI4(result, 0);
            break;
        case AddAuxCommandToToolbar:
            requireToolbar(args.i2(0));
            if (!state().addToToolbar(args.i2(0), args.text(1)))
                failUnknownCommand(args.text(1));
            setI4(result, 0);
            break;
        case AuxCommandExistsInToolbar:
            requireToolbar(args.i2(0));
            setI4(result, state().isOnToolbar(args.i2(0), args.text(1)) ? 1 : 0);
            break;
        case RemoveAuxCommandFromToolbar:
            requireToolbar(args.i2(0));
            state().removeFromToolbar(args.i2(0), args.text(1));
            setI4(result, 0);
            break;
        case AuxCommandText:
            commandText(args.text(0), args.i2(1), result);
            break;
        }
    }

    static void commandText(const std::wstring &name, SHORT index, VARIANT *result)
    {
        if (!state().commandExists(name))
            failUnknownCommand(name);
        if (index < 0 || index >= static_cast<SHORT>(FakeActState::CommandTexts().size()))
            fail(L"Keine Textnummer " + std::to_wstring(index) + L".");
        const auto text = state().commandText(name, static_cast<size_t>(index));
        if (!text) // deleted by another thread meanwhile
            failUnknownCommand(name);
        setText(result, *text);
    }
};

// Lets a test see and reset the server's state across a process boundary.
class Control : public DispatchBase
{
public:
    Control() : DispatchBase(L"FakeAct.Control", members, false) {}

private:
    enum { LiveObjects, Reset };
    static inline const std::vector<Member> members = {{L"LiveObjects", {}}, {L"Reset", {}}};

    void call(size_t index, const CallArgs &, VARIANT *result) override
    {
        if (index == LiveObjects)
            setI4(result, liveObjectCount());
        else
            state().reset();
    }
};

} // namespace

IDispatch *createActEvent()
{
    return make<ActEvent>();
}

IDispatch *createDatabase()
{
    return make<Database>();
}

IDispatch *createAppObject()
{
    return make<AppObject>();
}

IDispatch *createAuxCmds()
{
    return make<AuxCmds>();
}

IDispatch *createControl()
{
    return make<Control>();
}
