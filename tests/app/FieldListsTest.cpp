// The sixteen field lists: one shared catalogue model, filled once per burst,
// limited to its entries, in step with the rows model both ways.

#include "AppTestSupport.h"

#include "app/FieldCatalogueModel.h"
#include "app/formMain.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

class FieldLists : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        m_window = std::make_unique<formMain>();
        rows().FillStandardCatalogue();
        QCoreApplication::processEvents();
    }

    FieldRows &rows() { return m_window->Rows(); }
    QComboBox *field(int row)
    {
        return m_window->findChild<QComboBox *>(QStringLiteral("txtField%1").arg(row));
    }
    QLineEdit *value(int row)
    {
        return m_window->findChild<QLineEdit *>(QStringLiteral("txtWert%1").arg(row));
    }

    std::unique_ptr<formMain> m_window;
};

TEST_F(FieldLists, EveryRowShowsTheSameSortedCatalogue)
{
    const QAbstractItemModel *shared = field(0)->model();
    for (int row = 0; row < formMain::RowCount; ++row) {
        EXPECT_EQ(field(row)->model(), shared) << "row " << row;
        EXPECT_EQ(field(row)->count(), 20) << "row " << row;
        EXPECT_EQ(field(row)->currentIndex(), -1) << "row " << row;
        EXPECT_FALSE(field(row)->isEditable()) << "row " << row;
    }
    EXPECT_EQ(field(15)->itemText(0), u"Abteilung"_s);
    EXPECT_EQ(field(15)->itemText(19), u"Website"_s);
}

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
}

TEST_F(FieldLists, ASelectionRightAfterACatalogueChangeShowsTheNewEntry)
{
    // Recognition selects fields in the same command that loaded the list,
    // before any event is handled: the list must show the new catalogue's entry.
    rows().ClearAllLists();
    rows().AddEntryToAllRows(u"Zuletzt"_s, 900);
    rows().AddEntryToAllRows(u"Anfang"_s, 901);
    rows().SelectRowField(3, 900);
    EXPECT_EQ(field(3)->currentText(), u"Zuletzt"_s);
    EXPECT_EQ(field(4)->currentIndex(), -1);
}

TEST_F(FieldLists, TypingSelectsOnlyExistingEntries)
{
    struct Case
    {
        QString typed;
        QString selected; // empty: no field chosen
    } const cases[] = {
        {u"Ort"_s, u"Ort"_s},
        {u"v"_s, u"Vorname"_s},
        {u"Tele"_s, u"Telefon"_s},
        {u"xq"_s, QString()},
    };
    int row = 0;
    for (const Case &c : cases) {
        QTest::keyClicks(field(row), c.typed);
        const std::optional<RowContent> content = rows().ReadRow(row);
        if (c.selected.isEmpty()) {
            EXPECT_FALSE(content.has_value()) << qPrintable(c.typed);
        } else {
            ASSERT_TRUE(content.has_value()) << qPrintable(c.typed);
            EXPECT_EQ(rows().EntryAt(rows().SelectedPosition(row)).Name, c.selected)
                << qPrintable(c.typed);
            EXPECT_EQ(field(row)->currentText(), c.selected) << qPrintable(c.typed);
        }
        ++row; // a row of its own, so no typed text is left over
    }
}

TEST_F(FieldLists, UserEditsReachTheRowsAndRecognitionReachesTheWidgets)
{
    QTest::keyClicks(value(2), u"Hauptstraße 5"_s);
    EXPECT_EQ(rows().RowValue(2), u"Hauptstraße 5"_s);
    field(2)->setFocus();
    QTest::keyClick(field(2), Qt::Key_Down);
    EXPECT_EQ(rows().SelectedPosition(2), field(2)->currentIndex());

    rows().SelectRowField(5, 32);
    rows().SetRowValue(5, u"80331"_s);
    EXPECT_EQ(field(5)->currentText(), u"PLZ"_s);
    EXPECT_EQ(value(5)->text(), u"80331"_s);

    rows().ResetAllRows();
    for (int row = 0; row < formMain::RowCount; ++row) {
        EXPECT_EQ(field(row)->currentIndex(), -1) << "row " << row;
        EXPECT_TRUE(value(row)->text().isEmpty()) << "row " << row;
    }
}

} // namespace
