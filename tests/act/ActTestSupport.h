#pragma once

#include "RunningStandin.h"
#include "TestHost.h"

#include "support/FieldRows.h"

#include <gtest/gtest.h>

#include <QMap>
#include <QString>
#include <QVector>

#include <utility>

// gtest prints QStrings readably.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

using Catalogue = QVector<std::pair<qint32, QString>>;

// A fresh program state per test: standard catalogue in the rows, no held
// ACT! objects, no definitions, a settings file in the test's own folder.
class ActTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    void WriteSettings(const QByteArray &content) const;
    QByteArray SettingsContent() const;
    QString SettingsPath() const;
    static QString TestData(const QString &name);
    // Reads "field<TAB>value" lines.
    static QMap<qint32, QString> ExpectedContact(const QString &name);

    static Catalogue CatalogueOf(const FieldRows &rows);
    // The rows' entries that carry this field number, by name.
    QStringList NamesOf(qint32 fieldNumber) const;

    // Chooses a field and value for a row, as a user does.
    void SetRow(int row, qint32 fieldNumber, const QString &value);

    RunningStandin standin;
    FieldRows rows;
    TestHost host{rows};
    MessageLog messages;
};
