#include "cli/PlainRequest.h"

#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Whatever the direct reading accepts, the JSON parser reads the same way.
TEST(PlainRequest, AgreesWithTheJsonParser)
{
    const struct
    {
        QByteArray line;
        bool plain; // read directly, not left to the JSON parser
    } cases[] = {
        {R"({"text": "Muster GmbH\nBerlin"})", true},
        {R"(  {"separator":";" , "text":"a;b"}  )"
         "\r",
         true},
        {R"({"text": "a", "separator": null, "id": "x-1"})", true},
        {"{\"text\": \"Stra\xc3\x9f"
         "e \xe2\x82\xac \xf0\x9f\x98\x80\"}",
         true},
        {"{\"text\": \"\xef\xbb\xbf"
         R"(a\r\n)"
         "\xef\xbb\xbf\"}",
         true}, // byte order marks
        {R"({"text": "\u00dc\u00DFx\/\"\\\b\f\t\r\n\u0000"})", true},
        {R"({"text": "\ud83d\ude00"})", false},   // surrogate pair
        {R"({"text": "\u12"})", false},           // short escape
        {R"({"text": "\u0x1f"})", false},         // no hex digits
        {R"({"text": "\q"})", false},             // unknown escape
        {"{\"text\": \"a\tb\"}", false},          // raw control character
        {"{\"text\": \"\xc3\x28\"}", false},      // invalid UTF-8
        {"{\"text\": \"\xed\xa0\x80\"}", false},  // an encoded surrogate
        {"{\"text\": \"\xc0\xaf\"}", false},      // overlong
        {R"({"text": "a", "text": "b"})", false}, // twice
        {R"({"text": null})", false},
        {R"({"text": 5})", false},
        {R"({"text": "a", "n": 1})", false},
        {R"({"t\u0065xt": "a", "sepa\u0072ator": ";"})", true},
        {"{\"text\": \"a\", \"Stra\xc3\x9f"
         "e\": \"b\"}",
         true},
        {R"({"text": "a"} x)", false},
        {R"({"text": "a",})", false},
        {R"({"text": "a")", false},
        {R"(["text"])", false},
        {"", false},
    };
    for (const auto &c : cases) {
        PlainRequest request;
        const bool plain = ReadPlainRequest(c.line, request);
        EXPECT_EQ(plain, c.plain) << c.line.toStdString();
        if (!plain)
            continue;
        const QJsonObject object = QJsonDocument::fromJson(c.line).object();
        EXPECT_EQ(request.text, object.value(QStringLiteral("text")).toString())
            << c.line.toStdString();
        EXPECT_EQ(request.separator, object.value(QStringLiteral("separator")).toString())
            << c.line.toStdString();
    }
}

} // namespace
