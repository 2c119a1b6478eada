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

TEST(ComAdapterTest, ArgumentsBecomeTheTypesACTExpectsAndCallsPassThrough)
{
    const auto object = std::make_shared<ScriptedObject>();
    const ActObjectPtr comObject = std::make_shared<ComActObject>(object);
    const std::pair<QVariant, std::optional<com::Value>> cases[] = {
        // nullopt: refused
        {QVariant::fromValue(short(3)), com::Value(std::int16_t(3))},
        {QVariant(25), com::Value(std::int32_t(25))},
        {QVariant(qlonglong(-7)), com::Value(std::int32_t(-7))},
        {QVariant(qlonglong(1) << 40), std::nullopt},
        {QVariant(2.0), com::Value(std::int32_t(2))},
        {QVariant(2.5), std::nullopt},
        {QVariant(true), com::Value(true)},
        {QVariant(u"Straße"_s), com::Value(std::u16string(u"Straße"))},
        {QVariant(QString()), com::Value(std::u16string())},
        {QVariant(), com::Value(std::monostate{})},
        {FromActObject(comObject), com::Value(com::ObjectPtr(object))},
        {QVariant(QDate(2026, 12, 7)), std::nullopt},
    };
    for (const auto &[argument, expected] : cases) {
        SCOPED_TRACE(argument.typeName());
        if (expected)
            EXPECT_EQ(ToComValue(argument, u"SetField"_s, 2), *expected);
        else
            EXPECT_THROW(ToComValue(argument, u"SetField"_s, 2), ActError);
    }

    // A call passes name and arguments in order and returns objects as ActObjects.
    const auto views = std::make_shared<ScriptedObject>();
    views->Answer = com::ObjectPtr(object);
    const ActObjectPtr result =
        ToActObject(ComActObject(views).Call(u"Create"_s, {1, u"ContactView"_s}));
    EXPECT_EQ(views->LastMember, u"Create");
    EXPECT_EQ(views->LastArguments,
              (std::vector<com::Value>{com::Value(std::int32_t(1)),
                                       com::Value(std::u16string(u"ContactView"))}));
    result->Call(u"AddNewContact"_s);
    EXPECT_EQ(object->LastMember, u"AddNewContact") << "the returned object calls through";
}

} // namespace
