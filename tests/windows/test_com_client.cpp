// The COM client against the fake ACT! server, through every member the
// programs call, the ways a call can fail, and the reference counts.

#include "act/com/Automation.h"
#include "act/com/ComApartment.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

using com::Error;
using com::ObjectPtr;
using com::Value;

namespace {

// The fake ACT! server's control object: it counts and resets what the server
// serves, in this process or out of it. Not counted itself.
class FakeServer
{
public:
    FakeServer() : m_control(com::CreateObject(u"FakeAct.Control")) {}

    LONG LiveObjects() const { return std::get<std::int32_t>(m_control->Call(u"LiveObjects", {})); }
    void Reset() const { m_control->Call(u"Reset", {}); }

private:
    com::ObjectPtr m_control;
};

Value Text(std::u16string text)
{
    return Value(std::move(text));
}

Value Short(std::int16_t number)
{
    return Value(number);
}

Value Long(std::int32_t number)
{
    return Value(number);
}

// The error a call throws; fails the test when it throws none.
Error ErrorOf(const std::function<void()> &call)
{
    try {
        call();
    } catch (const com::Error &error) {
        return error;
    }
    ADD_FAILURE() << "no com::Error was thrown";
    return com::Error(com::Error::Step::CallMember, u"", 0);
}

class ComClientTest : public ::testing::Test
{
protected:
    void SetUp() override { m_server.Reset(); }

    void TearDown() override
    {
        // Every object the test held is gone by now: nothing may stay referenced.
        EXPECT_EQ(m_server.LiveObjects(), 0) << "a COM object leaked";
    }

    static ObjectPtr Create(std::u16string_view progId) { return com::CreateObject(progId); }

    static ObjectPtr Object(const Value &value)
    {
        const auto *object = std::get_if<ObjectPtr>(&value);
        EXPECT_TRUE(object && *object) << "the member returned no object";
        return object ? *object : nullptr;
    }

    static ObjectPtr OpenDatabase()
    {
        ObjectPtr database = Create(u"ACTOLE.DATABASE");
        database->Call(u"OpenEx", {Text(u"")});
        return database;
    }

    static ObjectPtr ContactView()
    {
        const ObjectPtr views = Object(Create(u"ACTOLE.APPOBJECT")->Call(u"Views", {}));
        return Object(views->Call(u"Create", {Long(1), Text(u"ContactView")}));
    }

    com::Apartment m_apartment;
    FakeServer m_server;
};

// The suite runs once against the server in this process and once against it
// in its own; the script says which one it registered.
TEST_F(ComClientTest, TheServerRunsWhereItIsRegistered)
{
    EXPECT_EQ(Create(u"ACTEVENTLib.ActEvent")->Call(u"IsActRunning", {}), Value(true));
    const char *mode = std::getenv("FAKEACT_MODE");
    if (!mode)
        GTEST_SKIP() << "FAKEACT_MODE not set";
    const bool inThisProcess = GetModuleHandleW(L"fakeact.dll") != nullptr;
    EXPECT_EQ(inThisProcess, std::string(mode) == "inproc") << "FAKEACT_MODE=" << mode;
}

TEST_F(ComClientTest, TheFieldListIsReadAsTheConnectionReadsIt)
{
    const ObjectPtr database = Create(u"ACTOLE.DATABASE");
    EXPECT_EQ(database->Call(u"IsOpen", {}), Value(false));
    EXPECT_EQ(database->Call(u"OpenEx", {Text(u"")}), Value(std::monostate{}));
    EXPECT_EQ(database->Call(u"isOPEN", {}), Value(true)) << "names are found whatever their case";

    const ObjectPtr contact = Object(database->Call(u"Contact", {}));
    const ObjectPtr fields = Object(contact->Call(u"Fields", {}));
    const Value count = contact->Call(u"FieldCount", {});
    ASSERT_TRUE(std::holds_alternative<std::int16_t>(count))
        << "FieldCount comes back as a 16-bit integer";

    std::vector<std::pair<std::int32_t, std::u16string>> read;
    for (std::int32_t position = 0; position < std::get<std::int16_t>(count); ++position) {
        // The position goes out as a 32-bit integer; the server takes it as 16-bit.
        const Value number = fields->Call(u"FieldIdAt", {Long(position)});
        ASSERT_TRUE(std::holds_alternative<std::int32_t>(number));
        const Value label = fields->Call(u"Label", {number});
        ASSERT_TRUE(std::holds_alternative<std::u16string>(label));
        read.emplace_back(std::get<std::int32_t>(number), std::get<std::u16string>(label));
    }
    // ACT!'s standard numbers and names, in its order, as the Linux stand-in has them.
    std::vector<std::pair<std::int32_t, std::u16string>> expected = {
#define TYPICAL_FIELD(number, label) {number, u"" label},
#include "act/standin/TypicalFields.inc"
    };
    EXPECT_EQ(read, expected);
    ASSERT_GE(read.size(), 20u);
    EXPECT_EQ(read[0], (std::pair<std::int32_t, std::u16string>(25, u"Firma")));
    EXPECT_EQ(read[13], (std::pair<std::int32_t, std::u16string>(200, u""))) << "e-mail unlabelled";
}

TEST_F(ComClientTest, AContactIsWrittenFieldByField)
{
    const ObjectPtr view = ContactView();
    const std::int32_t before = std::get<std::int32_t>(view->Call(u"ContactCount", {}));
    EXPECT_EQ(view->Call(u"AddNewContact", {}), Value(std::monostate{}));
    EXPECT_EQ(view->Call(u"ContactCount", {}), Long(before + 1));

    // Texts travel as UTF-16 with their length: umlauts, a character outside
    // the basic plane and an embedded NUL arrive unchanged.
    const std::u16string street = u"Hauptstraße 1";
    const std::u16string unusual(u"a\0b \U0001F600", 6);
    view->Call(u"SetField", {Long(27), Text(street)});
    view->Call(u"SetField", {Long(25), Text(unusual)});
    view->Call(u"SetField", {Long(78), Text(u"")});
    EXPECT_EQ(view->Call(u"GetField", {Long(27)}), Text(street));
    EXPECT_EQ(view->Call(u"GetField", {Long(25)}), Text(unusual));
    EXPECT_EQ(view->Call(u"GetField", {Long(78)}), Text(u""));
}

TEST_F(ComClientTest, ACommandIsAddedPlacedAndRemovedAsTheInstallerDoesIt)
{
    const ObjectPtr commands = Create(u"ACTOLE.AUXCMDS");
    const std::vector<Value> arguments = {
        Text(u"Ordalis"),           Text(u"C:\\Ordalis\\Ordalis.exe"),
        Text(u"C:\\Ordalis"),       Text(u"Adresse lesen"),
        Text(u"Liest die Adresse"), Text(u"C:\\i\\s.bmp"),
        Text(u"C:\\i\\l.bmp"),      Short(0)};
    EXPECT_EQ(commands->Call(u"AuxCommandExists", {Text(u"Ordalis")}), Long(0));
    ASSERT_EQ(commands->Call(u"AddAuxCommand", arguments), Long(0));
    // Each argument lands where it belongs: the order survives the reversal.
    for (std::int16_t index = 0; index < 7; ++index)
        EXPECT_EQ(commands->Call(u"AuxCommandText", {Text(u"ordalis"), Short(index)}),
                  arguments[std::size_t(index)])
            << "argument " << index;
    EXPECT_EQ(commands->Call(u"AddAuxCommand", arguments), Long(1)) << "a second one is refused";
    EXPECT_EQ(commands->Call(u"AuxCommandExists", {Text(u"Ordalis")}), Long(1));

    EXPECT_EQ(commands->Call(u"AddAuxCommandToToolbar", {Short(1), Text(u"Ordalis")}), Long(0));
    EXPECT_EQ(commands->Call(u"AuxCommandExistsInToolbar", {Short(1), Text(u"Ordalis")}), Long(1));
    EXPECT_EQ(commands->Call(u"AuxCommandExistsInToolbar", {Short(3), Text(u"Ordalis")}), Long(0));
    EXPECT_EQ(commands->Call(u"RemoveAuxCommandFromToolbar", {Short(1), Text(u"Ordalis")}),
              Long(0));
    EXPECT_EQ(commands->Call(u"AuxCommandExistsInToolbar", {Short(1), Text(u"Ordalis")}), Long(0));

    commands->Call(u"DeleteAuxCommand", {Text(u"Ordalis")});
    EXPECT_EQ(commands->Call(u"AuxCommandExists", {Text(u"Ordalis")}), Long(0));
}

TEST_F(ComClientTest, ProgIdsThatCannotBeCreatedFail)
{
    Error error = ErrorOf([] { com::CreateObject(u"ACTOLE.NOSUCHOBJECT"); });
    EXPECT_EQ(error.GetStep(), Error::Step::CreateObject);
    EXPECT_EQ(error.Result(), com::hresult::ClassString);
    EXPECT_EQ(error.Subject(), u"ACTOLE.NOSUCHOBJECT");

    // A ProgID whose class has no server left behind (an uninstalled program).
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CLASSES_ROOT, "ORDALIS.ORPHAN\\CLSID", 0, nullptr, 0, KEY_WRITE,
                              nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const char orphan[] = "{5f0b7a44-2f61-4c11-9d1e-0c4b1a7e9e21}";
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE *>(orphan), sizeof orphan);
    RegCloseKey(key);
    error = ErrorOf([] { com::CreateObject(u"ORDALIS.ORPHAN"); });
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "ORDALIS.ORPHAN");
    EXPECT_EQ(error.GetStep(), Error::Step::CreateObject);
    EXPECT_EQ(error.Result(), com::hresult::ClassNotRegistered);
}

struct FailingCall
{
    const char *name;
    std::function<void()> call;
    Error::Step step;
    std::int32_t result;
    int argument;
    std::u16string source;
    std::u16string description;
};

TEST_F(ComClientTest, EveryFailureBecomesOneErrorWithWhatTheServerSaid)
{
    const ObjectPtr database = Create(u"ACTOLE.DATABASE");
    const ObjectPtr view = ContactView();
    const ObjectPtr commands = Create(u"ACTOLE.AUXCMDS");
    const std::vector<FailingCall> cases = {
        {"unknown member", [&] { database->Call(u"OpenReadOnly", {}); }, Error::Step::FindMember,
         com::hresult::UnknownName, 0, u"", u""},
        {"member raising an exception",
         [&] {
             view->Call(u"SetField", {Long(999), Text(u"x")});
         },
         Error::Step::CallMember, com::hresult::Exception, 0, u"ACTOLE.CONTACTVIEW",
         u"Das Feld 999 gibt es nicht."},
        {"exception filled in only when asked",
         [&] { database->Call(u"OpenEx", {Text(u"C:\\alt.dbf")}); }, Error::Step::CallMember,
         com::hresult::Exception, 0, u"ACTOLE.DATABASE",
         u"Die Datenbank „C:\\alt.dbf“ gibt es nicht."},
        {"member of a closed database", [&] { database->Call(u"Contact", {}); },
         Error::Step::CallMember, com::hresult::Exception, 0, u"ACTOLE.DATABASE",
         u"Keine Datenbank geöffnet."},
        {"too many arguments", [&] { database->Call(u"IsOpen", {Long(1)}); },
         Error::Step::CallMember, com::hresult::BadParamCount, 0, u"", u""},
        {"too few arguments", [&] { view->Call(u"SetField", {Long(1)}); }, Error::Step::CallMember,
         com::hresult::BadParamCount, 0, u"", u""},
        {"first argument of the wrong type",
         [&] {
             commands->Call(u"AddAuxCommandToToolbar", {Text(u"eins"), Text(u"X")});
         },
         Error::Step::CallMember, com::hresult::TypeMismatch, 1, u"", u""},
        {"last argument of the wrong type",
         [&] {
             commands->Call(u"AddAuxCommand", {Text(u"a"), Text(u"b"), Text(u"c"), Text(u"d"),
                                               Text(u"e"), Text(u"f"), Text(u"g"), Text(u"null")});
         },
         Error::Step::CallMember, com::hresult::TypeMismatch, 8, u"", u""},
    };
    for (const FailingCall &failing : cases) {
        SCOPED_TRACE(failing.name);
        const Error error = ErrorOf(failing.call);
        EXPECT_EQ(error.GetStep(), failing.step);
        EXPECT_EQ(error.Result(), failing.result);
        EXPECT_EQ(error.Argument(), failing.argument);
        EXPECT_EQ(error.Source(), failing.source);
        EXPECT_EQ(error.Description(), failing.description);
        if (failing.result == com::hresult::Exception) {
            EXPECT_EQ(error.ServerCode(), std::int32_t(E_FAIL));
        }
    }
}

class LocalObject : public com::AutomationObject
{
public:
    Value Call(std::u16string_view, const std::vector<Value> &) override { return {}; }
};

TEST_F(ComClientTest, AnObjectThatIsNotCOMsCannotBeAnArgument)
{
    const ObjectPtr fields =
        Object(Object(OpenDatabase()->Call(u"Contact", {}))->Call(u"Fields", {}));
    const Error error = ErrorOf(
        [&] { fields->Call(u"Label", {Value(ObjectPtr(std::make_shared<LocalObject>()))}); });
    EXPECT_EQ(error.GetStep(), Error::Step::Convert);
    EXPECT_EQ(error.Result(), com::hresult::InvalidArgument);
    EXPECT_EQ(error.Argument(), 1);
}

TEST_F(ComClientTest, ObjectsLiveExactlyAsLongAsTheyAreHeld)
{
    const LONG before = m_server.LiveObjects();
    ObjectPtr database = OpenDatabase();
    ObjectPtr contact = Object(database->Call(u"Contact", {}));
    ObjectPtr fields = Object(contact->Call(u"Fields", {}));
    EXPECT_EQ(m_server.LiveObjects(), before + 3);

    // A COM object passed as an argument is referenced only for the call.
    const Error error = ErrorOf([&] { fields->Call(u"Label", {Value(contact)}); });
    EXPECT_EQ(error.Result(), com::hresult::TypeMismatch);
    EXPECT_EQ(m_server.LiveObjects(), before + 3);

    ObjectPtr copy = contact;
    contact.reset();
    EXPECT_TRUE(std::holds_alternative<std::int16_t>(copy->Call(u"FieldCount", {})))
        << "a copy keeps the object alive";
    copy.reset();
    fields.reset();
    database.reset();
    EXPECT_EQ(m_server.LiveObjects(), before);
}

TEST_F(ComClientTest, FailedCallsLeakNothing)
{
    const ObjectPtr view = ContactView();
    const LONG before = m_server.LiveObjects();
    for (int i = 0; i < 100; ++i) {
        ErrorOf([&] { view->Call(u"SetField", {Long(999), Text(u"x")}); });
        ErrorOf([&] { view->Call(u"Nonsense", {Text(u"x")}); });
        ErrorOf([&] { view->Call(u"SetField", {Text(u"x")}); });
    }
    EXPECT_EQ(m_server.LiveObjects(), before);
}

} // namespace
