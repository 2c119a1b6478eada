// The Windows programs reach ACT! through ComActObject. COM itself is tested
// under Wine; here the adapter's conversions run against a scripted object,
// since no COM runtime exists on this platform.

#include "act/com/ComActObject.h"

#include <QDate>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Records the call and answers what the test set.
class ScriptedObject : public com::AutomationObject
{
public:
    com::Value Call(std::u16string_view member, const std::vector<com::Value> &arguments) override
    {
        LastMember = std::u16string(member);
        LastArguments = arguments;
        if (Failure)
            throw *Failure;
        return Answer;
    }

    std::u16string LastMember;
    std::vector<com::Value> LastArguments;
    com::Value Answer;
    std::optional<com::Error> Failure;
};

struct ArgumentCase
{
    const char *name;
    QVariant argument;
    std::optional<com::Value> expected; // nullopt: refused with ActError
};

TEST(ComAdapterTest, ArgumentsBecomeTheTypesACTExpects)
{
    const auto object = std::make_shared<ScriptedObject>();
    const ActObjectPtr comObject = std::make_shared<ComActObject>(object);
    const std::vector<ArgumentCase> cases = {
        {"16-bit integer", QVariant::fromValue(short(3)), com::Value(std::int16_t(3))},
        {"integer", QVariant(25), com::Value(std::int32_t(25))},
        {"64-bit integer that fits", QVariant(qlonglong(-7)), com::Value(std::int32_t(-7))},
        {"64-bit integer too large", QVariant(qlonglong(1) << 40), std::nullopt},
        {"whole double", QVariant(2.0), com::Value(std::int32_t(2))},
        {"fractional double", QVariant(2.5), std::nullopt},
        {"boolean", QVariant(true), com::Value(true)},
        {"text with umlauts", QVariant(u"Straße"_s), com::Value(std::u16string(u"Straße"))},
        {"null text", QVariant(QString()), com::Value(std::u16string())},
        {"nothing", QVariant(), com::Value(std::monostate{})},
        {"a COM object", FromActObject(comObject), com::Value(com::ObjectPtr(object))},
        {"a date", QVariant(QDate(2026, 12, 7)), std::nullopt},
    };
    for (const ArgumentCase &argumentCase : cases) {
        SCOPED_TRACE(argumentCase.name);
        if (!argumentCase.expected) {
            EXPECT_THROW(ToComValue(argumentCase.argument, u"SetField"_s, 2), ActError);
            continue;
        }
        EXPECT_EQ(ToComValue(argumentCase.argument, u"SetField"_s, 2), *argumentCase.expected);
    }
}

TEST(ComAdapterTest, ACallPassesNameAndArgumentsInOrderAndReturnsObjectsAsActObjects)
{
    const auto view = std::make_shared<ScriptedObject>();
    const auto views = std::make_shared<ScriptedObject>();
    views->Answer = com::ObjectPtr(view);
    ComActObject adapter(views);

    const ActObjectPtr result = ToActObject(adapter.Call(u"Create"_s, {1, u"ContactView"_s}));
    EXPECT_EQ(views->LastMember, u"Create");
    ASSERT_EQ(views->LastArguments.size(), 2u);
    EXPECT_EQ(views->LastArguments[0], com::Value(std::int32_t(1)));
    EXPECT_EQ(views->LastArguments[1], com::Value(std::u16string(u"ContactView")));

    result->Call(u"AddNewContact"_s);
    EXPECT_EQ(view->LastMember, u"AddNewContact") << "the returned object calls through";
}

} // namespace
