// The main window as a user drives it, against the real act-standin: start-up,
// captures, the box's re-parse, the separator dialog from both openings, and
// contacts written end to end.

#include "AppTestSupport.h"

#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "app/MainWindow.h"
#include "app/StartupFigures.h"
#include "cards/ContactValues.h"
#include "support/ActFields.h"
#include "support/MessageTexts.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QScrollArea>
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

    // Captured again, the card fills the rows as it is instead of being recognised.
    const ContactValues before = ValuesFromRows(rows());
    rows().ResetAllRows();
    click("cmdGetClipboard");
    EXPECT_EQ(ValuesFromRows(rows()), before);
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
    EXPECT_EQ(child<QLabel>(u"lblTrenner"_s)->text(), u"Trennzeichen: „,“"_s);
    EXPECT_FALSE(child<QLabel>(u"lblTrenner"_s)->isHidden());
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

    // One click goes back to automatic detection.
    click("cmdTrennerAutomatisch");
    EXPECT_TRUE(window().Context().UserSeparator.isEmpty());
    EXPECT_TRUE(child<QLabel>(u"lblTrenner"_s)->isHidden());
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

// Corrections survive a look into the box; a typed field name is taken; a
// second row of one field is marked; an edited box refills and that refill
// can be undone once.
TEST_F(MainWindow, CorrectionsSurviveTheBoxAndAReplacingRefillCanBeUndone)
{
    const QString greeting = u"Mit freundlichen Grüßen"_s;
    ASSERT_TRUE(StartStandin());
    SetClipboard(greeting + u'\n' + Address);
    window().StartUp();
    showActive();
    const auto type = [](QWidget *target, const QString &text, Qt::Key end) {
        target->setFocus();
        if (auto *combo = qobject_cast<QComboBox *>(target))
            combo->lineEdit()->selectAll();
        else
            static_cast<QLineEdit *>(target)->selectAll();
        QTest::keyClick(target, Qt::Key_Delete);
        for (const QChar c : text) {
            if (c.unicode() < 128)
                QTest::keyClick(target, char(c.unicode()));
            else // QTest knows keys for ASCII only
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
        if (end != Qt::Key_unknown)
            QTest::keyClick(target, end);
    };

    // The greeting came out as a second contact: both rows are marked.
    const int greetingRow = int(rowValues().indexOf(greeting));
    const int contactRow = int(rowValues().indexOf(u"Herr Dr. Hans Becker"_s));
    const QString also = u"„%1“ steht auch in Zeile %2 – gespeichert wird der letzte Wert"_s;
    EXPECT_EQ(value(greetingRow)->toolTip(), also.arg(u"Kontakt"_s).arg(contactRow + 1));
    EXPECT_EQ(field(contactRow)->toolTip(), also.arg(u"Kontakt"_s).arg(greetingRow + 1));

    // Company and contact corrected.
    const int companyRow = rowOf(ActField::Firma);
    type(value(companyRow), u"Ingenieurbüro Lang"_s, Qt::Key_unknown);
    type(value(contactRow), u"Karl Lang"_s, Qt::Key_unknown);
    // The greeting's field: text that names none leaves it marked; a second
    // "Firma" marks both rows; a prefix taken by Tab.
    type(field(greetingRow), u"xyz"_s, Qt::Key_Tab);
    EXPECT_EQ(value(greetingRow)->toolTip(),
              u"Kein Feld gewählt – diese Zeile wird nicht gespeichert"_s);
    type(field(greetingRow), u"Firm"_s, Qt::Key_Return);
    EXPECT_EQ(value(greetingRow)->toolTip(), also.arg(u"Firma"_s).arg(companyRow + 1));
    EXPECT_EQ(field(companyRow)->toolTip(), also.arg(u"Firma"_s).arg(greetingRow + 1));
    type(field(greetingRow), u"abt"_s, Qt::Key_Tab);
    EXPECT_EQ(field(greetingRow)->currentText(), u"Abteilung"_s);
    EXPECT_TRUE(value(greetingRow)->toolTip().isEmpty());
    EXPECT_TRUE(value(companyRow)->toolTip().isEmpty());
    const QStringList corrected = rowValues();
    const int correctedGreetingField = rows().ReadRow(greetingRow)->FieldNumber;

    // Into the box by mouse and out, its context menu, and tabbing through it.
    QTest::mouseClick(box()->viewport(), Qt::LeftButton);
    QTest::mouseClick(value(0), Qt::LeftButton);
    box()->setFocus();
    QContextMenuEvent menuEvent(QContextMenuEvent::Mouse, QPoint(5, 5),
                                box()->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(box()->viewport(), &menuEvent);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->actions().contains(child<QAction>(u"actZeilenWiederherstellen"_s)));
    menu->close();
    QTest::keyClick(box(), Qt::Key_Tab);
    EXPECT_EQ(rowValues().join(u'|'), corrected.join(u'|'));
    EXPECT_EQ(rows().ReadRow(greetingRow)->FieldNumber, correctedGreetingField);

    auto back = WhenModalOpens(
        [](QWidget *modal) { modal->findChild<QPushButton *>(u"cmdNeueRunde"_s)->click(); });
    click("cmdNeuanlageInACT");
    ASSERT_TRUE(back->done);
    const QMap<qint32, QString> written = shownContact();
    EXPECT_EQ(written.value(ActField::Firma), u"Ingenieurbüro Lang"_s);
    EXPECT_EQ(written.value(ActField::Kontakt), u"Karl Lang"_s);
    EXPECT_EQ(written.value(ActField::Abteilung), greeting);
    showActive();

    // An edit of the box is recognised anew; the replaced rows come back once.
    auto *restore = child<QAction>(u"actZeilenWiederherstellen"_s);
    EXPECT_FALSE(restore->isEnabled());
    box()->setFocus();
    box()->moveCursor(QTextCursor::End);
    QTest::keyClicks(box(), u"Fax 089 7654321"_s);
    value(0)->setFocus();
    EXPECT_EQ(valueOf(ActField::Firma), u"Muster Maschinenbau GmbH"_s);
    EXPECT_EQ(valueOf(ActField::Fax), u"0897654321"_s);
    EXPECT_TRUE(restore->isEnabled());
    EXPECT_FALSE(child<QLabel>(u"lblZeilenErsetzt"_s)->isHidden());
    QTest::keyClick(value(0), Qt::Key_Z, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(rowValues().join(u'|'), corrected.join(u'|'));
    EXPECT_EQ(rows().ReadRow(greetingRow)->FieldNumber, correctedGreetingField);
    EXPECT_FALSE(restore->isEnabled());
    EXPECT_TRUE(child<QLabel>(u"lblZeilenErsetzt"_s)->isHidden());
}

TEST_F(MainWindow, TheChosenRecognizerRecognisesTheBoxAnewAndStaysChosen)
{
    const QString greeting = u"Mit freundlichen Grüßen"_s;
    SetClipboard(greeting + u'\n' + Address);
    window().StartUp();
    auto *choice = child<QComboBox>(u"cboErkennung"_s);
    EXPECT_EQ(choice->currentIndex(), 0);
    EXPECT_EQ(valueOf(26), greeting);

    choice->setCurrentIndex(1);
    EXPECT_EQ(valueOf(40), u"Herr"_s);
    EXPECT_EQ(valueOf(46), u"Dr."_s);
    EXPECT_EQ(valueOf(26), u"Hans Becker"_s);
    EXPECT_EQ(valueOf(35), u"0891234567"_s);
    EXPECT_FALSE(rowValues().contains(greeting));

    // Kept with the window state: the next start recognises with it.
    m_window.reset();
    window().StartUp();
    EXPECT_EQ(child<QComboBox>(u"cboErkennung"_s)->currentIndex(), 1);
    EXPECT_EQ(valueOf(46), u"Dr."_s);
}

TEST_F(MainWindow, AWriteWithActGoneFailsWithItsMessageAndTheWindowGoesOn)
{
    ASSERT_TRUE(StartStandin());
    SetClipboard(Address);
    window().StartUp();
    StopStandin();
    // A write's message says why in the box itself.
    const std::pair<const char *, QString> cases[] = {
        {"cmdNeuanlageInACT", MessageText::ContactNotCreated + u"\n\nACT! läuft nicht."_s},
        {"cmdBearbeitenInAct", MessageText::ContactNotEdited + u"\n\nACT! läuft nicht."_s},
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

// At 150 % on a 1024x600 screen every control lies on the screen; the rows
// scroll. The scale factor is read when the application starts, so the case
// runs again in a process of its own.
TEST_F(MainWindow, EveryControlIsOnA1024x600ScreenAt150Percent)
{
    if (qEnvironmentVariableIsEmpty("ORDALIS_TEST_SMALL_SCREEN")) {
        const QString config = m_root.filePath(u"screen.json"_s);
        QFile file(config);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(R"({"screens": [{"name": "klein", "x": 0, "y": 0, "width": 1024,
                       "height": 600, "logicalDpi": 96, "logicalBaseDpi": 96}]})");
        file.close();
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"ORDALIS_TEST_SMALL_SCREEN"_s, u"1"_s);
        environment.insert(u"QT_SCALE_FACTOR"_s, u"1.5"_s);
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen:configfile="_s + config);
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::MergedChannels);
        const auto *test = ::testing::UnitTest::GetInstance()->current_test_info();
        child.start(QCoreApplication::applicationFilePath(),
                    {u"--gtest_filter=%1.%2"_s.arg(QLatin1String(test->test_suite_name()),
                                                   QLatin1String(test->name()))});
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAll().toStdString();
        return;
    }
    const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
    ASSERT_EQ(screen.size(), QSize(683, 400)) << "1024x600 at 150 %";
    rows().FillStandardCatalogue();
    window().show();
    const auto text = [](const QRect &r) {
        return u"%1,%2 %3x%4"_s.arg(r.x()).arg(r.y()).arg(r.width()).arg(r.height()).toStdString();
    };
    EXPECT_TRUE(screen.contains(window().frameGeometry())) << text(window().frameGeometry());
    const char *controls[] = {"cmdGetClipboard", "cmdNeuanlageInACT", "cmdBearbeitenInAct",
                              "cmdNeuerTrenner", "cmdAlleFelder",     "cmdInfo",
                              "cmdUpdate",       "txtClipText",       "txtWert0",
                              "txtField0"};
    for (const char *name : controls) {
        auto *control = child<QWidget>(QLatin1String(name));
        ASSERT_NE(control, nullptr) << name;
        const QRect onScreen(control->mapToGlobal(QPoint(0, 0)), control->size());
        EXPECT_TRUE(screen.contains(onScreen)) << name << ' ' << text(onScreen);
        EXPECT_GE(control->height(), control->minimumSizeHint().height()) << name;
    }
    // The last row, out of sight, scrolls into view when it takes the focus.
    auto *rowsPanel = child<QScrollArea>(u"rowsPanel"_s);
    EXPECT_FALSE(rowsPanel->viewport()->rect().contains(
        value(15)->mapTo(rowsPanel->viewport(), value(15)->rect().bottomRight())));
    rowsPanel->ensureWidgetVisible(field(15));
    EXPECT_TRUE(rowsPanel->viewport()->rect().contains(
        field(15)->mapTo(rowsPanel->viewport(), field(15)->rect().bottomRight())));
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
