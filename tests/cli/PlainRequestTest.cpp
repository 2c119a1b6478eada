#include "cli/PlainRequest.h"
#include "cli/JsonWriter.h"
#include "common/CaseFile.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

// Whatever the direct reading accepts (data/plain-requests.txt), the JSON
// parser reads the same way.
using PlainRequests = CaseFileTest<>;

TEST_P(PlainRequests, AgreeWithTheJsonParser)
{
    for (const auto &[kind, escaped] : GetParam().lines) {
        const QByteArray line = Unescape(escaped);
        PlainRequest request;
        const bool plain = ReadPlainRequest(line, request);
        ASSERT_EQ(plain, kind == u"plain") << escaped.toStdString();
        const QJsonObject object = QJsonDocument::fromJson(line).object();
        if (plain) {
            EXPECT_EQ(request.text, object.value(u"text").toString()) << escaped.toStdString();
            EXPECT_EQ(request.separator, object.value(u"separator").toString());
        }
    }
}

INSTANTIATE_TEST_SUITE_P(File, PlainRequests, CasesOf(ORDALIS_TEST_DATA "/plain-requests.txt"),
                         CaseTestName);

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
