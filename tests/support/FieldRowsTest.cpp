#include "support/FieldRows.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

QStringList names(const FieldRows &rows)
{
    QStringList list;
    for (int i = 0; i < rows.EntryCount(); ++i)
        list << rows.EntryAt(i).Name;
    return list;
}

TEST(FieldRows, UmlautsSortWithTheirLettersAndEqualNamesKeepTheirOrder)
{
    FieldRows rows;
    const std::pair<const char16_t *, qint32> added[] = {
        {u"Zusatz", 1}, {u"Ölfeld", 2}, {u"ort", 3},  {u"Ärger", 4},
        {u"Ort", 5},    {u"anrede", 6}, {u"Über", 7}, {u"Ufer", 8},
    };
    for (const auto &[name, number] : added)
        rows.AddEntryToAllRows(QString::fromUtf16(name), number);
    EXPECT_EQ(names(rows), (QStringList{QStringLiteral("anrede"), QStringLiteral("Ärger"),
                                        QStringLiteral("Ölfeld"), QStringLiteral("ort"),
                                        QStringLiteral("Ort"), QStringLiteral("Über"),
                                        QStringLiteral("Ufer"), QStringLiteral("Zusatz")}));
}

TEST(FieldRows, SelectRowFieldTakesTheFirstSortedEntryOfThatNumber)
{
    FieldRows rows;
    rows.AddEntryToAllRows(QStringLiteral("Zweitname"), 25);
    rows.AddEntryToAllRows(QStringLiteral("Ort"), 30);
    rows.AddEntryToAllRows(QStringLiteral("Firma"), 25);
    rows.SelectRowField(3, 25);
    EXPECT_EQ(rows.SelectedPosition(3), rows.PositionOfName(QStringLiteral("Firma")));

    // An unknown number leaves the selection as it was.
    rows.SelectRowField(3, 999);
    EXPECT_EQ(rows.SelectedPosition(3), rows.PositionOfName(QStringLiteral("Firma")));
    rows.SelectRowField(4, 999);
    EXPECT_EQ(rows.SelectedPosition(4), -1);

    // The selection travels with its entry when new entries change the order.
    rows.AddEntryToAllRows(QStringLiteral("Abteilung"), 88);
    EXPECT_EQ(rows.EntryAt(rows.SelectedPosition(3)).Name, QStringLiteral("Firma"));
    ASSERT_TRUE(rows.ReadRow(3));
    EXPECT_EQ(rows.ReadRow(3)->FieldNumber, 25);
}

TEST(FieldRows, ReadRowGivesFieldAndValueAsTyped)
{
    FieldRows rows;
    rows.FillStandardCatalogue();
    struct Case
    {
        const char *name;
        int row;
        std::optional<qint32> field;
        QString value;
        std::optional<RowContent> expected;
    };
    const Case cases[] = {
        {"no field", 0, std::nullopt, QStringLiteral("Wert"), std::nullopt},
        {"field, empty value", 1, 26, QString(), RowContent{26, QString()}},
        {"value not trimmed", 15, 35, QStringLiteral("  0711 / 12 34  "),
         RowContent{35, QStringLiteral("  0711 / 12 34  ")}},
    };
    for (const Case &c : cases) {
        if (c.field)
            rows.SelectRowField(c.row, *c.field);
        rows.SetRowValue(c.row, c.value);
        const std::optional<RowContent> got = rows.ReadRow(c.row);
        ASSERT_EQ(got.has_value(), c.expected.has_value()) << c.name;
        if (got) {
            EXPECT_EQ(got->FieldNumber, c.expected->FieldNumber) << c.name;
            EXPECT_EQ(got->Value, c.expected->Value) << c.name;
        }
    }
    rows.ResetRow(15);
    EXPECT_FALSE(rows.ReadRow(15));
    EXPECT_EQ(rows.RowValue(15), QString());

    // Clearing the lists drops every selection but keeps the values.
    rows.ClearAllLists();
    EXPECT_EQ(rows.EntryCount(), 0);
    EXPECT_FALSE(rows.ReadRow(1));
    EXPECT_EQ(rows.RowValue(0), QStringLiteral("Wert"));

    // Rows outside 0..15 are ignored.
    rows.SetRowValue(16, QStringLiteral("x"));
    rows.SelectRowField(-1, 25);
    EXPECT_FALSE(rows.ReadRow(16));
    EXPECT_EQ(rows.SelectedPosition(-1), -1);
}

} // namespace
