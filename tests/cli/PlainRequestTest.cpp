#include "cli/PlainRequest.h"
#include "cli/JsonWriter.h"

#include <gtest/gtest.h>

#include <QJsonArray>
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
        {R"({"text": "more than sixteen plain bytes, \"a quote\" and C:\\temp among them"})", true},
        {"{\"text\": \"more_than_sixteen_plain_bytes,\xc3\xbc_and_then_more_of_them\"}", true},
        {"{\"text\": \"more_than_sixteen_plain_bytes,then_a_raw_tab\there\"}", false},
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

// What the writer encodes, the JSON parser reads back unchanged, also where
// an escape or a surrogate pair straddles the writer's internal buffer.
TEST(JsonWriter, StringsReadBackUnchanged)
{
    const QString mixed = QStringLiteral("Straße \"Nr\" 5\\\r\n\t\x01 ") + QChar(0x20AC) +
                          QString::fromUcs4(U"\U0001F600");
    const QString texts[] = {
        QString(),
        mixed,
        QString(3000, u'a') + mixed,
        mixed.repeated(500),
        QString(341, u'x') + QString::fromUcs4(U"\U0001F600").repeated(700),
        QString(2045, u'"'),
        // each special character alone among plain ones
        QStringLiteral("a path C:\\temp\\new, a \"quoted\" word, \x1f and \x7f and 100 ") +
            QChar(0xB0) + QStringLiteral(" in eight-character stretches"),
    };
    for (const QString &text : texts) {
        JsonWriter json;
        json.BeginArray().String(text).EndArray();
        const QJsonDocument read = QJsonDocument::fromJson(json.Bytes());
        ASSERT_TRUE(read.isArray()) << text.size();
        EXPECT_EQ(read.array().at(0).toString(), text) << text.size();
    }
    // A lone surrogate cannot be encoded: it becomes U+FFFD and the line stays valid UTF-8.
    JsonWriter lone;
    lone.BeginArray().String(QString(QChar(0xD800)) + u'a').EndArray();
    EXPECT_EQ(lone.Bytes(), QByteArray("[\"\xef\xbf\xbd"
                                       "a\"]"));
}

} // namespace
