#include "RecognitionTestSupport.h"

#include "recognition/ParseAddress.h"

#include <QRandomGenerator>

namespace {

class RobustnessTest : public RecognitionTest
{
protected:
    ParseStatus capture(const QString &text)
    {
        QString clipText;
        return CaptureText(Context, text, false, Rows, clipText, nullptr);
    }
};

TEST_F(RobustnessTest, HostileTextParsesWithoutFailure)
{
    QRandomGenerator random(7);
    QByteArray binary(64 * 1024, '\0');
    for (char &byte : binary)
        byte = char(random.bounded(256));

    QString surrogates;
    for (int k = 0; k < 1000; ++k) {
        surrogates += QChar(char16_t(0xD800 + random.bounded(0x800)));
        surrogates += k % 7 == 0 ? QStringLiteral("\r\n") : QStringLiteral("x ");
    }

    const struct
    {
        const char *name;
        QString text;
    } cases[] = {
        {"binary", QString::fromLatin1(binary)},
        {"binary as UTF-8", QString::fromUtf8(binary)},
        {"NUL characters", QString(QChar(0)) + QStringLiteral("\r\nD-12345") + QChar(0) +
                               QStringLiteral("\r\n") + QString(100, QChar(0))},
        {"lone surrogates", surrogates},
        {"one long line",
         QStringLiteral("Herr  12345 www.").repeated(40000) + QStringLiteral(";x")},
        {"many lines", QStringLiteral("Tel 1\n12345 Ort\nD-12345 X\n").repeated(30000)},
        {"details lines",
         QStringLiteral("Details der X schließen\n").repeated(50000) + QStringLiteral("X Y\n")},
        {"details with distinct names",
         [] {
             QString text;
             for (int k = 0; k < 20000; ++k)
                 text += QStringLiteral("Details der Firma %1 schließen\nFirma %1 Zeile\n").arg(k);
             return text;
         }()},
    };
    for (const auto &c : cases) {
        const ParseStatus status = capture(c.text);
        EXPECT_TRUE(status == ParseStatus::Ok || status == ParseStatus::NoSeparator) << c.name;
    }
}

} // namespace
