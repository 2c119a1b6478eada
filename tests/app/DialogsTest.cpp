// The small windows on their own: separator dialog, completion dialog
// and the real message boxes.

#include "AppTestSupport.h"

#include "app/GermanTranslations.h"
#include "app/QtMessagePresenter.h"
#include "app/formFertigAbfrage.h"
#include "app/formTrenner.h"
#include "support/MessageTexts.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFontMetrics>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
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

TEST_F(SeparatorDialogTest, ShowsTheCaptureAndClearsAnEarlierChoice)
{
    open(u"Muster GmbH, Hauptstraße 5, 80331 München"_s);
    EXPECT_EQ(m_dialog->windowTitle(), u"Trennzeichen wählen"_s);
    EXPECT_EQ(box()->toPlainText(), u"Muster GmbH, Hauptstraße 5, 80331 München"_s);
    EXPECT_TRUE(m_dialog->UserSeparator().isEmpty());
    m_dialog->reject(); // the close box
    EXPECT_TRUE(m_dialog->UserSeparator().isEmpty());
}

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

TEST_F(SeparatorDialogTest, MarkingAgainTakesFromThePreview)
{
    open(u"Name; Straße, Ort"_s);
    mark(4, 1);
    click("cmdTrennerNeu");
    // preview "Name\nStraße, Ort\n": the comma now sits at 11
    mark(11, 1);
    click("cmdTrennerNeu");
    EXPECT_EQ(separator()->text(), u","_s);
    EXPECT_EQ(box()->toPlainText(), u"Name; Straße\nOrt\n"_s);
}

TEST_F(SeparatorDialogTest, NothingMarkedAsksForAMarkAndChangesNothing)
{
    open(u"eins zwei"_s);
    separator()->setText(u"#"_s);
    click("cmdTrennerNeu");
    EXPECT_EQ(MessageTexts(m_presenter), QStringList{MessageText::MarkOneCharacter});
    EXPECT_EQ(m_presenter.shown.value(0).style, MessageStyle::Information);
    EXPECT_EQ(separator()->text(), u"#"_s);
    EXPECT_TRUE(m_dialog->UserSeparator().isEmpty());
}

TEST_F(SeparatorDialogTest, DiscardRestoresTheCaptureAndAcceptsNothing)
{
    open(u"a,b,c"_s);
    mark(1, 1);
    click("cmdTrennerNeu");
    click("cmdTrennerVerwerfen");
    EXPECT_EQ(box()->toPlainText(), u"a,b,c"_s);
    EXPECT_TRUE(separator()->text().isEmpty());
    click("cmdWeiter");
    EXPECT_TRUE(m_dialog->UserSeparator().isEmpty());
}

TEST_F(SeparatorDialogTest, TypedSeparatorIsAcceptedUnchanged)
{
    open(u"a -- b -- c"_s);
    separator()->setText(u" -- "_s);
    EXPECT_EQ(separator()->text(), u"␣--␣"_s);
    EXPECT_TRUE(separator()->toolTip().contains(u"Leerzeichen"_s));
    click("cmdWeiter");
    EXPECT_EQ(m_dialog->UserSeparator(), u" -- "_s);
}

class CompletionDialog : public AppTest
{};

TEST_F(CompletionDialog, SaysWhatWasStoredAndRecordsTheChoice)
{
    struct Case
    {
        bool isNew;
        const char *button; // null: closed by its close box
        QString label;
        quint8 choice;
    } const cases[] = {
        {true, "cmdNeueRunde", u"Kontakt wurde erfolgreich angelegt."_s, 2},
        {false, "cmdRaus", u"Kontakt wurde erfolgreich bearbeitet."_s, 1},
        {true, nullptr, u"Kontakt wurde erfolgreich angelegt."_s, 0},
    };
    for (const Case &c : cases) {
        formFertigAbfrage dialog(nullptr, c.isNew);
        const QString what = c.button ? QLatin1String(c.button) : u"close box"_s;
        EXPECT_TRUE(dialog.windowFlags().testFlag(Qt::WindowStaysOnTopHint));
        const QLabel *label = dialog.findChild<QLabel *>(u"Label1"_s);
        EXPECT_EQ(label->text(), c.label) << qPrintable(what);
        EXPECT_LE(QFontMetrics(label->font()).horizontalAdvance(label->text()), label->width())
            << "the whole sentence fits its line";
        auto done = WhenModalOpens([&c](QWidget *modal) {
            if (c.button)
                modal->findChild<QPushButton *>(QLatin1String(c.button))->click();
            else
                modal->close();
        });
        dialog.exec();
        EXPECT_TRUE(done->done) << qPrintable(what);
        EXPECT_EQ(dialog.CompletionChoice(), c.choice) << qPrintable(what);
    }
}

class MessageBoxes : public AppTest
{
protected:
    static void SetUpTestSuite()
    {
        EnsureApplication();
        ASSERT_TRUE(InstallGermanTranslations(*QCoreApplication::instance()))
            << "Qt's German translation (qtbase_de.qm) is missing";
    }
};

TEST_F(MessageBoxes, StyleGivesIconButtonsAndAnswer)
{
    struct Case
    {
        qint16 style;
        QMessageBox::Icon icon;
        QStringList buttons;
        QString press;
        qint16 answer;
    } const cases[] = {
        {36, QMessageBox::Question, {u"&Ja"_s, u"&Nein"_s}, u"&Ja"_s, 6},
        {36, QMessageBox::Question, {u"&Ja"_s, u"&Nein"_s}, u"&Nein"_s, 7},
        {48, QMessageBox::Warning, {u"OK"_s}, u"OK"_s, 1},
        {64, QMessageBox::Information, {u"OK"_s}, u"OK"_s, 1},
    };
    QtMessagePresenter presenter;
    for (const Case &c : cases) {
        QString title;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        WhenModalOpens([&](QWidget *modal) {
            auto *box = qobject_cast<QMessageBox *>(modal);
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            icon = box->icon();
            QAbstractButton *press = nullptr;
            for (QAbstractButton *button : box->buttons()) {
                buttons << button->text();
                if (button->text() == c.press)
                    press = button;
            }
            if (press == nullptr)
                press = box->buttons().value(0);
            press->click();
        });
        const qint16 answer = presenter.Present(u"Ordalis"_s, u"Trotzdem weiter?"_s, c.style);
        EXPECT_EQ(answer, c.answer) << c.style << " " << qPrintable(c.press);
        EXPECT_EQ(title, u"Ordalis"_s);
        EXPECT_EQ(icon, c.icon) << c.style;
        buttons.sort();
        QStringList expected = c.buttons;
        expected.sort();
        EXPECT_EQ(buttons, expected) << c.style;
    }
}

} // namespace
