// Long work in the window: the hourglass at once and never left behind, the
// normal pointer over a message box, and stepwise work that shows its progress
// after half a second while the window takes no second command.

#include "AppTestSupport.h"

#include "act/standin/ContactDatabase.h"
#include "act/standin/StandinPaths.h"
#include "app/DelayedProgress.h"
#include "app/HandedOverCapture.h"
#include "app/QtMessagePresenter.h"
#include "app/WindowMessages.h"
#include "support/MessageTexts.h"

#include <QApplication>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <optional>

using namespace Qt::StringLiterals;

namespace {

// The pointer as the user sees it: the override's shape, or none.
std::optional<Qt::CursorShape> pointer()
{
    const QCursor *cursor = QApplication::overrideCursor();
    return cursor ? std::optional(cursor->shape()) : std::nullopt;
}

bool progressShown()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (qobject_cast<QProgressDialog *>(widget) != nullptr && widget->isVisible())
            return true;
    }
    return false;
}

// The real message boxes, closed as soon as they open; notes the pointer when a
// message is asked for and while its box is up.
class ClosingPresenter : public QtMessagePresenter
{
public:
    qint16 Present(const QString &title, const QString &text, qint16 style) override
    {
        texts.append(text);
        beforeBox.append(pointer());
        progressOpen.append(progressShown());
        auto watch = WhenModalOpens([this](QWidget *box) {
            overBox.append(pointer());
            box->close();
        });
        const qint16 answer = QtMessagePresenter::Present(title, text, style);
        watch->cancelled = true;
        return answer;
    }

    void Clear()
    {
        texts.clear();
        beforeBox.clear();
        overBox.clear();
        progressOpen.clear();
    }

    QStringList texts;
    QList<std::optional<Qt::CursorShape>> beforeBox, overBox;
    QList<bool> progressOpen;
};

// Every call of the stand-in's objects slowed, for the length of a scope.
class SlowStandinCalls
{
public:
    explicit SlowStandinCalls(const char *microseconds)
    {
        qputenv("ACT_STANDIN_CALL_DELAY_US", microseconds);
    }
    ~SlowStandinCalls() { qunsetenv("ACT_STANDIN_CALL_DELAY_US"); }
    SlowStandinCalls(const SlowStandinCalls &) = delete;
    SlowStandinCalls &operator=(const SlowStandinCalls &) = delete;
};

class Busy : public AppTest
{
protected:
    int contactCount()
    {
        return int(ContactDatabase::Open(ContactDatabasePath(Home()))->Contacts().size());
    }
};

TEST_F(Busy, TheHourglassComesAtOnceGivesWayToAMessageBoxAndNeverStays)
{
    ClosingPresenter boxes;
    std::optional<ScopedMessagePresenter> closing(std::in_place, boxes);
    showActive();
    // Each command reaches a message in the middle of its work; ACT! is closed.
    const struct
    {
        const char *button;
        QString boxText, message;
    } cases[] = {
        {"cmdGetClipboard", {}, MessageText::ClipboardEmpty},
        {"cmdAlleFelder", {}, MessageText::FieldLoadFailed},
        {"cmdNeuanlageInACT", u"Hans Becker"_s, MessageText::ContactNotCreated},
    };
    for (const auto &[button, boxText, message] : cases) {
        box()->setPlainText(boxText);
        boxes.Clear();
        click(button);
        ASSERT_FALSE(boxes.texts.isEmpty()) << button;
        EXPECT_TRUE(boxes.texts.last().startsWith(message))
            << button << ": " << qPrintable(boxes.texts.last());
        EXPECT_EQ(boxes.beforeBox.last(), Qt::WaitCursor) << button << ": busy at once";
        ASSERT_EQ(boxes.overBox.size(), boxes.texts.size()) << button << ": every box opened";
        EXPECT_EQ(boxes.overBox.last(), std::nullopt) << button << ": the arrow over the box";
        EXPECT_EQ(pointer(), std::nullopt) << button << ": nothing left behind";
    }
    closing.reset();
}

TEST_F(Busy, StepwiseWorkShowsItsProgressOnlyAfterHalfASecondAndTakesNoInputMeanwhile)
{
    showActive();
    auto *newContact = child<QPushButton>(u"cmdNeuanlageInACT"_s);
    QSignalSpy clicks(newContact, &QPushButton::clicked);

    {
        DelayedProgress quick(window(), u"Karten werden gelesen …"_s);
        for (int done = 0; done < 3; ++done)
            quick.Step(done, 3);
        EXPECT_EQ(quick.Dialog(), nullptr) << "work done quickly shows nothing";
        quick.Step(3, 3);
    }

    DelayedProgress slow(window(), u"Karten werden gelesen …"_s);
    constexpr int Steps = 40; // at least a second
    for (int done = 0; done < Steps; ++done) {
        QThread::msleep(25);
        slow.Step(done, Steps);
        QTest::mouseClick(newContact, Qt::LeftButton);
        QTest::keyClick(&window(), Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier);
    }
    ASSERT_NE(slow.Dialog(), nullptr);
    EXPECT_TRUE(slow.Dialog()->isVisible());
    EXPECT_TRUE(slow.Dialog()->isModal());
    EXPECT_EQ(slow.Dialog()->labelText(), u"Karten werden gelesen …"_s);
    EXPECT_EQ(slow.Dialog()->maximum(), Steps);
    EXPECT_EQ(clicks.count(), 0) << "no click reaches the window";
    EXPECT_TRUE(m_presenter.shown.isEmpty()) << qPrintable(m_presenter.Texts().join(u'|'));

    slow.Step(Steps, Steps);
    EXPECT_EQ(slow.Dialog(), nullptr);
    QTest::mouseClick(newContact, Qt::LeftButton);
    EXPECT_EQ(clicks.count(), 1) << "the window takes input again";
}

TEST_F(Busy, ASlowFieldLoadShowsProgressRefusesAClickAndLetsAHandedOverCaptureWait)
{
    ASSERT_TRUE(StartStandin({u"--fields"_s, u"1500"_s}));
    // 3000 calls of about half a millisecond each: a load of well over a second.
    const SlowStandinCalls slowCalls("400");
    SetClipboard(u"Hans Becker\nIndustriestraße 12\n80331 München"_s);
    showActive();
    const int contactsBefore = contactCount();

    std::optional<Qt::CursorShape> pointerMeanwhile;
    bool progressShown = false;
    HandedOverCapture handedOver(window());
    bool handOverAsked = false;
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        pointerMeanwhile = pointer();
        if (auto *dialog = window().findChild<QProgressDialog *>(u"dlgFortschritt"_s))
            progressShown = progressShown || dialog->isVisible();
        QTest::mouseClick(child<QPushButton>(u"cmdNeuanlageInACT"_s), Qt::LeftButton);
        if (!handOverAsked)
            handedOver.Request({});
        handOverAsked = true;
    });
    meanwhile.start(50);
    click("cmdAlleFelder");
    meanwhile.stop();

    EXPECT_EQ(pointerMeanwhile, Qt::WaitCursor);
    EXPECT_TRUE(progressShown);
    EXPECT_EQ(window().findChild<QProgressDialog *>(), nullptr);
    EXPECT_EQ(pointer(), std::nullopt);
    EXPECT_EQ(rows().EntryCount(), 1500);
    EXPECT_EQ(valueOf(30), u"München"_s) << "the load's own capture ran";
    EXPECT_TRUE(m_presenter.shown.isEmpty()) << qPrintable(m_presenter.Texts().join(u'|'));
    EXPECT_EQ(contactCount(), contactsBefore) << "no contact written in the middle";

    // The capture handed over during the load runs after it, not never.
    ASSERT_TRUE(handedOver.Pending());
    SetClipboard(u"Erika Muster\nHauptstraße 1\n10115 Berlin"_s);
    QTRY_VERIFY(!handedOver.Pending());
    EXPECT_EQ(valueOf(30), u"Berlin"_s);
}

TEST_F(Busy, AFieldLoadThatFailsPartWayEndsItsProgressBeforeTheMessageAndKeepsTheCatalogue)
{
    ASSERT_TRUE(StartStandin({u"--fields"_s, u"1500"_s}));
    const SlowStandinCalls slowCalls("400");
    ClosingPresenter boxes;
    std::optional<ScopedMessagePresenter> closing(std::in_place, boxes);
    rows().FillStandardCatalogue();
    showActive();

    // ACT! closes once the progress shows: the next field cannot be read.
    QTimer meanwhile;
    QObject::connect(&meanwhile, &QTimer::timeout, [&] {
        if (progressShown() && meanwhile.isActive()) {
            meanwhile.stop();
            StopStandin();
        }
    });
    meanwhile.start(50);
    click("cmdAlleFelder");
    closing.reset();

    EXPECT_FALSE(meanwhile.isActive()) << "the load failed part-way";
    EXPECT_EQ(boxes.texts, QStringList{MessageText::FieldLoadFailed});
    EXPECT_EQ(boxes.progressOpen, QList<bool>{false}) << "no progress behind the message";
    EXPECT_EQ(boxes.overBox, QList<std::optional<Qt::CursorShape>>{std::nullopt});
    EXPECT_EQ(pointer(), std::nullopt);
    EXPECT_EQ(rows().EntryCount(), 20) << "the catalogue before the load stays";
}

} // namespace
