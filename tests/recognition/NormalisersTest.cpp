#include "RecognitionTestSupport.h"

#include "recognition/Normalisers.h"

namespace {

struct CleanCase
{
    const char16_t *input;
    const char16_t *expected;
};

void checkAll(QString (*clean)(const QString &), std::initializer_list<CleanCase> cases)
{
    for (const CleanCase &c : cases) {
        const QString input = QString::fromUtf16(c.input);
        EXPECT_EQ(clean(input), QString::fromUtf16(c.expected)) << "input: " << input.toStdString();
    }
}

TEST(CleanPhone, KeepsNumberCharactersAndDropsThePlusPrefix)
{
    checkAll(CleanPhone, {
                             {u"Tel.: +49 (0)30 / 12 3-4", u"(0)30/123-4"},
                             {u"Telefon 030-123", u"030-123"},
                             {u"Fon 0049 30 1234", u"0049301234"},
                             {u"auf Anfrage", u"auf Anfrage"},
                             {u"", u""},
                             {u"+43 [1] 234", u"+43[1]234"},
                             {u"+49+49 30", u"30"},
                         });
}

TEST(CleanEMail, CutsTheAddressAtTheNearestDelimiters)
{
    checkAll(CleanEMail, {
                             {u"E-Mail: max@muster.de", u"max@muster.de"},
                             {u"max@muster.de / www.muster.de", u"max@muster.de"},
                             {u"\"max@muster.de\"", u"max@muster.de"},
                             {u"keine Adresse", u"keine Adresse"},
                             {u"a@b.de, c@d.de", u"c@d.de"},
                             {u"mailto:max@muster.de", u"max@muster.de"},
                             {u"@", u"@"},
                         });
}

TEST(CleanWebAddress, CutsAroundTheLastWwwOrAfterHttp)
{
    checkAll(CleanWebAddress, {
                                  {u"Web: www.muster.de", u"www.muster.de"},
                                  {u"http://www.muster.de/impressum", u"www.muster.de"},
                                  {u"http://muster.de/impressum", u"muster.de/impressum"},
                                  {u"WWW.MUSTER.DE", u"WWW.MUSTER.DE"},
                                  {u"https://muster.de", u"https://muster.de"},
                                  {u"Internet:www.a.de www.b.at", u"www.b.at"},
                              });
}

} // namespace
