#include "support/FieldRows.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

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

    // Numbers in names sort by value.
    for (const char *name : {"Benutzer 10", "Benutzer 2", "Benutzer 1"})
        rows.AddEntryToAllRows(QString::fromLatin1(name), 100);
    const int first = rows.PositionOfName(QStringLiteral("Benutzer 1"));
    EXPECT_EQ(rows.EntryAt(first + 1).Name, QStringLiteral("Benutzer 2"));
    EXPECT_EQ(rows.EntryAt(first + 2).Name, QStringLiteral("Benutzer 10"));
}

TEST(FieldRows, ReadRowGivesFieldAndValueAsTyped)
{
    FieldRows rows;
    rows.FillStandardCatalogue();
    rows.SetRowValue(0, QStringLiteral("Wert")); // no field: nothing to read
    rows.SelectRowField(15, 35);
    rows.SetRowValue(15, QStringLiteral("  0711 / 12 34  "));
    EXPECT_FALSE(rows.ReadRow(0));
    ASSERT_TRUE(rows.ReadRow(15));
    EXPECT_EQ(rows.ReadRow(15)->FieldNumber, 35);
    EXPECT_EQ(rows.ReadRow(15)->Value, QStringLiteral("  0711 / 12 34  ")) << "not trimmed";
    rows.ResetRow(15);
    EXPECT_FALSE(rows.ReadRow(15));
    EXPECT_EQ(rows.RowValue(15), QString());

    // Clearing the lists drops every selection but keeps the values.
    rows.SelectRowField(1, 26);
    ASSERT_TRUE(rows.ReadRow(1)) << "a field with an empty value is read";
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
