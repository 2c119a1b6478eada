// The main window as a user drives it, against the real act-standin: start-up,
// captures, the box's re-parse, the separator dialog from both openings, and
// contacts written end to end.

#include "AppTestSupport.h"

#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "app/StartupFigures.h"
#include "app/formMain.h"
#include "support/MessageTexts.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Address = u"Muster Maschinenbau GmbH\n"
                        u"Herr Dr. Hans Becker\n"
                        u"Industriestraße 12\n"
                        u"80331  München\n"
                        u"Tel. +49 89 1234567\n"
                        u"E-Mail: h.becker@muster-maschinenbau.de\n"_s;

class MainWindow : public AppTest
{
protected:
    QStringList rowValues()
    {
        QStringList values;
        for (int row = 0; row < FieldRows::RowCount; ++row)
            values << rows().RowValue(row);
        return values;
    }
    std::unique_ptr<ContactDatabase> database()
    {
        return ContactDatabase::Open(ContactDatabasePath(Home()));
    }
    QMap<qint32, QString> shownContact()
    {
        std::unique_ptr<ContactDatabase> db = database();
        for (const StandinContact &contact : db->Contacts())
            if (contact.id == db->Shown().contactId)
                return contact.values;
        return {};
    }
    // In the separator dialog: marks the first comma, takes it, and changes
    // the clipboard before going on, which must not be read again.
    static void chooseComma(QWidget *modal, const QString &clipboardMeanwhile)
    {
        auto *text = modal->findChild<QPlainTextEdit *>(u"txtClipText"_s);
        MarkText(text, int(text->toPlainText().indexOf(u',')));
        modal->findChild<QPushButton *>(u"cmdTrennerNeu"_s)->click();
        SetClipboard(clipboardMeanwhile);
        modal->findChild<QPushButton *>(u"cmdWeiter"_s)->click();
    }
};

TEST_F(MainWindow, StartsWithActClosedAndAnEmptyCaptureKeepsTheRows)
{
    window().Context().UserSeparator = u"|"_s;
    SetClipboard(Address);
    window().StartUp();
    EXPECT_TRUE(window().Context().UserSeparator.isEmpty());
    EXPECT_EQ(m_presenter.Texts(), QStringList{MessageText::FieldLoadFailed});
    EXPECT_EQ(rows().EntryCount(), 20) << "the standard catalogue";
    EXPECT_EQ(valueOf(30), u"München"_s);
    EXPECT_EQ(value(rowOf(32))->text(), u"80331"_s);
    EXPECT_EQ(box()->toPlainText().count(u'\n'), 6) << qPrintable(box()->toPlainText());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);

    m_presenter.shown.clear();
    const QStringList before = rowValues();
    SetClipboard(u"   "_s);
    click("cmdGetClipboard");
    EXPECT_EQ(m_presenter.Texts(), QStringList{MessageText::ClipboardEmpty});
    EXPECT_EQ(rowValues(), before);
    EXPECT_TRUE(box()->toPlainText().isEmpty());
}

TEST_F(MainWindow, CtrlShiftCPutsTheCorrectedRowsOnTheClipboardAsACard)
{
    rows().FillStandardCatalogue();
    SetClipboard(Address);
    showActive();
    // Empty rows give no empty card.
    QTest::keyClick(&window(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(m_presenter.Texts(), QStringList{MessageText::NoData});
    EXPECT_EQ(QApplication::clipboard()->text(), Address);

    click("cmdGetClipboard");
    // A user's correction of a recognised value goes into the card.
    QLineEdit *city = value(rowOf(30));
    city->setFocus();
    city->selectAll();
    QTest::keyClicks(city, u"Garching"_s);
    QTest::keyClick(&window(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);

    const QMimeData *data = QApplication::clipboard()->mimeData();
    ASSERT_TRUE(data->hasFormat(u"text/vcard"_s)) << qPrintable(data->formats().join(u','));
    const QString card = QString::fromUtf8(data->data(u"text/vcard"_s));
    EXPECT_EQ(data->text(), card);
    EXPECT_TRUE(card.contains(u"ADR;TYPE=work:;;Industriestraße 12;Garching;;80331;"_s))
        << qPrintable(card);
    EXPECT_TRUE(card.contains(u"ORG:Muster Maschinenbau GmbH\r\n"_s)) << qPrintable(card);
}

TEST_F(MainWindow, LeavingTheEditedBoxParsesItStayingOrClosingDoesNot)
{
    rows().FillStandardCatalogue();
    showActive();
    box()->setFocus();
    QTest::keyClicks(box(), u"Muster GmbH"_s);
    QTest::keyClick(box(), Qt::Key_Return);
    QTest::keyClicks(box(), u">  Industriestrasse   12"_s);
    QTest::keyClick(box(), Qt::Key_Return);
    QTest::keyClicks(box(), u"80331 Garching"_s);
    QApplication::processEvents();
    EXPECT_EQ(valueOf(32), u"<none>"_s) << "nothing while the focus stays in the box";

    QLineEdit elsewhere; // another window, as a message box or another program
    elsewhere.show();
    QApplication::setActiveWindow(&elsewhere);
    elsewhere.setFocus();
    QApplication::processEvents();
    EXPECT_EQ(valueOf(32), u"<none>"_s) << "nothing when another window takes the focus";

    showActive();
    ASSERT_EQ(QApplication::focusWidget(), box());
    value(0)->setFocus();
    QApplication::processEvents();
    EXPECT_EQ(valueOf(32), u"80331"_s);
    EXPECT_EQ(box()->toPlainText(), u"Muster GmbH\nIndustriestrasse 12\n80331 Garching\n"_s);

    // Closing, and going away, with the focus in the edited box parses nothing.
    box()->setFocus();
    box()->selectAll();
    QTest::keyClicks(box(), u"Neue Firma AG;80335 Garching"_s);
    window().close();
    QApplication::processEvents();
    EXPECT_EQ(valueOf(32), u"80331"_s);
    m_window.reset();
    EXPECT_TRUE(m_presenter.shown.isEmpty());
}

TEST_F(MainWindow, ASeparatorChosenInTheParseOrFromTheButtonStaysAndReadsTheClipboardOnce)
{
    rows().FillStandardCatalogue();
    SetClipboard(u"Muster GmbH, Industriestraße 12, 80331 München"_s);
    auto watch =
        WhenModalOpens([](QWidget *modal) { chooseComma(modal, u"Etwas ganz anderes"_s); });
    click("cmdGetClipboard");
    EXPECT_TRUE(watch->done);
    EXPECT_EQ(m_presenter.Texts(), QStringList{MessageText::NoSeparator});
    EXPECT_EQ(window().Context().UserSeparator, u","_s);
    EXPECT_EQ(box()->toPlainText(), u"Muster GmbH\nIndustriestraße 12\n80331 München\n"_s);
    EXPECT_EQ(valueOf(32), u"80331"_s);

    // the choice stays for the next capture, whose line feeds still break lines
    m_presenter.shown.clear();
    SetClipboard(u"Neue Firma AG\nBahnhofstraße 1, 80335 München"_s);
    click("cmdGetClipboard");
    EXPECT_TRUE(m_presenter.shown.isEmpty());
    EXPECT_EQ(box()->toPlainText(), u"Neue Firma AG\nBahnhofstraße 1\n80335 München\n"_s);
    EXPECT_EQ(valueOf(32), u"80335"_s);

    // the button's dialog closed by its close box: no choice, nothing re-read
    const QStringList before = rowValues();
    auto closed = WhenModalOpens([](QWidget *modal) { modal->close(); });
    click("cmdNeuerTrenner");
    EXPECT_TRUE(closed->done);
    EXPECT_TRUE(window().Context().UserSeparator.isEmpty());
    EXPECT_EQ(rowValues(), before);

    auto accepted = WhenModalOpens(
        [](QWidget *modal) { chooseComma(modal, u"Dritte KG, Ring 3, 80339 München"_s); });
    click("cmdNeuerTrenner");
    EXPECT_TRUE(accepted->done);
    EXPECT_EQ(box()->toPlainText(), u"Dritte KG\nRing 3\n80339 München\n"_s);
    EXPECT_EQ(valueOf(32), u"80339"_s);
    EXPECT_TRUE(m_presenter.shown.isEmpty());
}

TEST_F(MainWindow, NewContactThenEditAndQuit)
{
    const QString greeting = u"Mit freundlichen Grüßen"_s;
    ASSERT_TRUE(StartStandin());
    SetClipboard(greeting + u'\n' + Address);
    window().StartUp();
    showActive();
    ASSERT_TRUE(m_presenter.shown.isEmpty()) << qPrintable(m_presenter.Texts().join(u'|'));
    const qsizetype contactsBefore = database()->Contacts().size();
    const int greetingRow = int(rowValues().indexOf(greeting));
    ASSERT_TRUE(rows().ReadRow(greetingRow)) << "the greeting has a field";

    // its field typed away, then straight to the button: the click's focus change commits
    field(greetingRow)->setFocus();
    field(greetingRow)->lineEdit()->selectAll();
    QTest::keyClicks(field(greetingRow), u"xyz"_s);
    QString label;
    auto back = WhenModalOpens([&](QWidget *modal) {
        label = modal->findChild<QLabel *>(u"Label1"_s)->text();
        modal->findChild<QPushButton *>(u"cmdNeueRunde"_s)->click();
    });
    QTest::mouseClick(window().findChild<QPushButton *>(u"cmdNeuanlageInACT"_s), Qt::LeftButton);
    ASSERT_TRUE(back->done);
    EXPECT_FALSE(rows().ReadRow(greetingRow));
    EXPECT_EQ(label, u"Kontakt wurde erfolgreich angelegt."_s);
    EXPECT_FALSE(window().Ended());
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(database()->Contacts().size(), contactsBefore + 1);
    const QMap<qint32, QString> written = shownContact();
    EXPECT_EQ(written.value(32), u"80331"_s);
    EXPECT_EQ(written.value(30), u"München"_s);
    EXPECT_EQ(written.value(25), valueOf(25));
    EXPECT_FALSE(written.values().contains(greeting));

    // the user corrects the city and overwrites the contact, then quits
    rows().SetRowValue(rowOf(30), u"Garching"_s);
    auto quit = WhenModalOpens([&](QWidget *modal) {
        label = modal->findChild<QLabel *>(u"Label1"_s)->text();
        modal->findChild<QPushButton *>(u"cmdRaus"_s)->click();
    });
    click("cmdBearbeitenInAct");
    ASSERT_TRUE(quit->done);
    EXPECT_EQ(label, u"Kontakt wurde erfolgreich bearbeitet."_s);
    EXPECT_TRUE(window().Ended());
    EXPECT_FALSE(window().isVisible());
    EXPECT_FALSE(window().Act().ActContactView) << "shut-down releases the held ACT! objects";

    EXPECT_EQ(database()->Contacts().size(), contactsBefore + 1);
    EXPECT_EQ(shownContact().value(30), u"Garching"_s);
}

TEST_F(MainWindow, AWriteWithActGoneFailsWithItsMessageAndTheWindowGoesOn)
{
    ASSERT_TRUE(StartStandin());
    SetClipboard(Address);
    window().StartUp();
    StopStandin();
    const std::pair<const char *, QString> cases[] = {
        {"cmdNeuanlageInACT", MessageText::ContactNotCreated},
        {"cmdBearbeitenInAct", MessageText::ContactNotEdited},
        {"cmdAlleFelder", MessageText::FieldLoadFailed},
    };
    for (const auto &[button, message] : cases) {
        m_presenter.shown.clear();
        auto watch = WhenModalOpens([](QWidget *modal) { modal->close(); });
        click(button);
        watch->cancelled = true;
        EXPECT_FALSE(watch->done) << button;
        EXPECT_EQ(m_presenter.Texts(), QStringList{message}) << button;
        EXPECT_EQ(QApplication::overrideCursor(), nullptr) << button;
        EXPECT_FALSE(window().Ended()) << button;
    }
    EXPECT_EQ(valueOf(32), u"80331"_s) << "the rows stay";
}

// What `ordalis --measure-startup` prints comes from the kernel's own figures.
TEST(StartupFigures, AreKnownOnLinux)
{
    const qint64 age = MillisecondsSinceProcessStart();
    EXPECT_GE(age, 0);
    EXPECT_LT(age, 3600 * 1000);
    EXPECT_GT(ResidentKilobytes(), 0);
}

} // namespace
