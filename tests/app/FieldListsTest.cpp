// The sixteen field lists: one shared catalogue model, filled once per burst,
// typed text a field only when it names an entry, in step with the rows model
// both ways, and turned by the wheel only with the focus.

#include "AppTestSupport.h"

#include "app/FieldCatalogueModel.h"
#include "app/MainWindow.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QWheelEvent>

#include <tuple>

using namespace Qt::StringLiterals;

namespace {

class FieldLists : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        rows().FillStandardCatalogue();
        QCoreApplication::processEvents();
    }
};

TEST_F(FieldLists, AFieldLoadOfThousandsResetsTheListsOnce)
{
    auto *model = qobject_cast<FieldCatalogueModel *>(field(0)->model());
    ASSERT_NE(model, nullptr);
    QSignalSpy resets(model, &QAbstractItemModel::modelReset);
    rows().ClearAllLists();
    for (int number = 1; number <= 5000; ++number)
        rows().AddEntryToAllRows(QStringLiteral("Feld %1").arg(number), number);
    EXPECT_EQ(resets.count(), 0) << "no reset while the entries arrive";
    QCoreApplication::processEvents();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(field(7)->count(), 5000);
    rows().SelectRowField(7, 4711);
    QCoreApplication::processEvents();
    EXPECT_EQ(resets.count(), 1) << "a selection leaves the lists as they are";
    EXPECT_EQ(field(7)->currentText(), u"Feld 4711"_s);

    // Recognition selects fields in the same command that loaded the list,
    // before any event is handled: the list must show the new catalogue's entry.
    rows().ClearAllLists();
    rows().AddEntryToAllRows(u"Zuletzt"_s, 900);
    rows().AddEntryToAllRows(u"Anfang"_s, 901);
    rows().SelectRowField(3, 900);
    EXPECT_EQ(field(3)->currentText(), u"Zuletzt"_s);
    EXPECT_EQ(field(4)->currentIndex(), -1);

    rows().ResetAllRows();
    EXPECT_EQ(field(3)->currentIndex(), -1);
}

TEST_F(FieldLists, TypedTextTakesTheNameItCompletesToOrLeavesTheRowMarked)
{
    rows().AddEntryToAllRows(u"Firma"_s, 900); // sorts behind the standard "Firma"
    QCoreApplication::processEvents();
    showActive();
    // typed, how the row is left, the field it gives (0: none), shown
    const std::tuple<QString, Qt::Key, qint32, QString> cases[] = {
        {u"Telefon 2"_s, Qt::Key_unknown, 74, u"Telefon 2"_s},
        {u"telefon 3"_s, Qt::Key_Return, 77, u"Telefon 3"_s},
        {u"FIRMA"_s, Qt::Key_Tab, 25, u"Firma"_s},
        {u"Abt"_s, Qt::Key_Tab, 88, u"Abteilung"_s},
        {u"tele"_s, Qt::Key_Return, 35, u"Telefon"_s},
        {u"em"_s, Qt::Key_unknown, 200, u"eMail"_s},
        {u"xyz"_s, Qt::Key_Tab, 0, QString()},
        {QString(), Qt::Key_unknown, 0, QString()},
    };
    int row = 0;
    for (const auto &[typed, key, number, shown] : cases) {
        rows().SelectRowField(row, 26);
        rows().SetRowValue(row, u"Wert"_s);
        field(row)->setFocus();
        field(row)->lineEdit()->selectAll();
        QTest::keyClick(field(row), Qt::Key_Delete);
        QTest::keyClicks(field(row), typed);
        if (key != Qt::Key_unknown)
            QTest::keyClick(field(row), key);
        else
            value(row + 1)->setFocus(); // as a click elsewhere
        const std::optional<RowContent> content = rows().ReadRow(row);
        EXPECT_EQ(content ? content->FieldNumber : 0, number) << qPrintable(typed);
        EXPECT_EQ(field(row)->currentText(), shown) << qPrintable(typed);
        EXPECT_EQ(value(row)->toolTip(),
                  number == 0 ? u"Kein Feld gewählt – diese Zeile wird nicht gespeichert"_s
                              : QString())
            << qPrintable(typed);
        rows().ResetRow(row);
        ++row;
    }
}

TEST_F(FieldLists, APopupIsWideEnoughForTheLongestName)
{
    const QString longest = u"Dritter Kontakt Telefon mit Durchwahl"_s;
    rows().AddEntryToAllRows(longest, 901);
    QCoreApplication::processEvents();
    const QFontMetrics metrics(field(3)->view()->font());
    EXPECT_GT(field(3)->view()->minimumWidth(), metrics.horizontalAdvance(longest));
}

TEST_F(FieldLists, TheWheelTurnsOnlyTheListWithTheFocus)
{
    showActive();
    rows().SelectRowField(4, 26);
    const auto turn = [this] {
        QWheelEvent wheel(QPointF(5, 5), field(4)->mapToGlobal(QPointF(5, 5)), QPoint(),
                          QPoint(0, -240), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(field(4), &wheel);
    };
    value(0)->setFocus();
    turn();
    EXPECT_EQ(rows().ReadRow(4)->FieldNumber, 26);
    EXPECT_EQ(field(4)->currentText(), u"Kontakt"_s);

    field(4)->setFocus();
    turn();
    EXPECT_NE(rows().ReadRow(4)->FieldNumber, 26);
    EXPECT_EQ(rows().SelectedPosition(4), field(4)->currentIndex());
}

} // namespace
