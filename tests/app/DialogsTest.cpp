// The separator dialog on its own: what a mark chooses and previews.

#include "AppTestSupport.h"

#include "app/formTrenner.h"
#include "support/MessageTexts.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

using namespace Qt::StringLiterals;

namespace {

class SeparatorDialogTest : public AppTest
{
protected:
    void open(const QString &captured)
    {
        m_dialog = std::make_unique<formTrenner>(nullptr, captured);
    }
    QPlainTextEdit *box() { return m_dialog->findChild<QPlainTextEdit *>(u"txtClipText"_s); }
    QLineEdit *separator() { return m_dialog->findChild<QLineEdit *>(u"txtTrenner"_s); }
    void click(const char *name)
    {
        m_dialog->findChild<QPushButton *>(QLatin1String(name))->click();
    }
    // Marks `length` characters from document position `start`.
    void mark(int start, int length)
    {
        QTextCursor cursor = box()->textCursor();
        cursor.setPosition(start);
        cursor.setPosition(start + length, QTextCursor::KeepAnchor);
        box()->setTextCursor(cursor);
    }

    std::unique_ptr<formTrenner> m_dialog;
};

TEST_F(SeparatorDialogTest, MarkingTakesTheFirstCharacterAndPreviews)
{
    struct Case
    {
        const char *what;
        QString captured;
        int start, length;
        QString separator;
        QString shown; // what txtTrenner shows for it
        QString preview;
    } const cases[] = {
        {"one comma", u"Muster GmbH, Hauptstraße 5, 80331 München"_s, 11, 1, u","_s, u","_s,
         u"Muster GmbH\r\nHauptstraße 5\r\n80331 München\r\n"_s},
        {"several marked, first counts", u"A | B | C"_s, 2, 3, u"|"_s, u"|"_s,
         u"A\r\nB\r\nC\r\n"_s},
        {"a line break gives its carriage return", u"Firma\r\nOrt; Land"_s, 5, 1, u"\r"_s, u"↵"_s,
         u"Firma\r\nOrt; Land\r\n"_s},
        {"a line feed alone is a line break too", u"Firma\nOrt; Land"_s, 5, 1, u"\r"_s, u"↵"_s,
         u"Firma\r\nOrt; Land\r\n"_s},
        {"a blank shows as a sign", u"eins zwei"_s, 4, 1, u" "_s, u"␣"_s, u"eins\r\nzwei\r\n"_s},
        {"empty pieces stay", u"a;;b"_s, 1, 1, u";"_s, u";"_s, u"a\r\n\r\nb\r\n"_s},
        {"the very first character", u"/a/b"_s, 0, 1, u"/"_s, u"/"_s, u"\r\na\r\nb\r\n"_s},
        {"a mark behind a line break", u"Firma\r\nOrt; Land"_s, 9, 1, u";"_s, u";"_s,
         u"Firma\r\nOrt\r\nLand\r\n"_s},
    };
    for (const Case &c : cases) {
        open(c.captured);
        mark(c.start, c.length);
        click("cmdTrennerNeu");
        EXPECT_EQ(separator()->text(), c.shown) << c.what;
        // Qt's editor holds line feeds; compare line by line
        EXPECT_EQ(box()->toPlainText(), QString(c.preview).replace(u"\r\n"_s, u"\n"_s)) << c.what;
        click("cmdWeiter");
        EXPECT_EQ(m_dialog->UserSeparator(), c.separator) << c.what;
        EXPECT_EQ(m_dialog->result(), QDialog::Accepted) << c.what;
    }
    EXPECT_TRUE(m_presenter.shown.isEmpty());
}

TEST_F(SeparatorDialogTest, NoMarkAsksForOneMarkingAgainTakesFromThePreviewDiscardRestores)
{
    open(u"Name; Straße, Ort"_s);
    separator()->setText(u"#"_s);
    click("cmdTrennerNeu");
    EXPECT_EQ(m_presenter.Texts(), QStringList{MessageText::MarkOneCharacter});
    EXPECT_EQ(separator()->text(), u"#"_s);

    mark(4, 1);
    click("cmdTrennerNeu");
    // preview "Name\nStraße, Ort\n": the comma now sits at 11
    mark(11, 1);
    click("cmdTrennerNeu");
    EXPECT_EQ(separator()->text(), u","_s);
    EXPECT_EQ(box()->toPlainText(), u"Name; Straße\nOrt\n"_s);

    click("cmdTrennerVerwerfen");
    EXPECT_EQ(box()->toPlainText(), u"Name; Straße, Ort"_s);
    EXPECT_TRUE(separator()->text().isEmpty());
    click("cmdWeiter");
    EXPECT_TRUE(m_dialog->UserSeparator().isEmpty());
}

} // namespace
