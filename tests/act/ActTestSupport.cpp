#include "ActTestSupport.h"

#include "act/ActConnection.h"
#include "act/ContactWriter.h"

#include "recognition/ParseState.h"

#include "support/modZusatzDefs.h"

#include <QFile>

void ActTest::SetUp()
{
    ReleaseActObjects();
    UserDefinitions.clear();
    DefinitionsLoaded = false;
    DefinitionHits.clear();
    UserSeparator.clear();
    CompletionChoice = 0;
    SetSettingsFilePath(SettingsPath());
    rows.FillStandardCatalogue();
    LoadSettings(rows); // no file yet: the default countries
}

void ActTest::TearDown()
{
    ReleaseActObjects();
    SetSettingsFilePath({});
}

QString ActTest::SettingsPath() const
{
    return standin.Folder() + QStringLiteral("/ordalis.ini");
}

void ActTest::WriteSettings(const QByteArray &content) const
{
    QFile file(SettingsPath());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
}

QByteArray ActTest::SettingsContent() const
{
    QFile file(SettingsPath());
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString ActTest::TestData(const QString &name)
{
    QFile file(QStringLiteral(ORDALIS_TEST_DATA "/") + name);
    if (!file.open(QIODevice::ReadOnly))
        ADD_FAILURE() << "missing test data " << name.toStdString();
    return QString::fromUtf8(file.readAll());
}

QMap<qint32, QString> ActTest::ExpectedContact(const QString &name)
{
    QMap<qint32, QString> values;
    const QStringList lines = TestData(name).split(u'\n', Qt::SkipEmptyParts);
    for (const QString &line : lines) {
        const qsizetype tab = line.indexOf(u'\t');
        values.insert(line.left(tab).toInt(), line.mid(tab + 1));
    }
    return values;
}

Catalogue ActTest::CatalogueOf(const FieldRows &rows)
{
    Catalogue entries;
    for (int position = 0; position < rows.EntryCount(); ++position)
        entries.append({rows.EntryAt(position).FieldNumber, rows.EntryAt(position).Name});
    return entries;
}

QStringList ActTest::NamesOf(qint32 fieldNumber) const
{
    QStringList names;
    for (const auto &[number, name] : CatalogueOf(rows)) {
        if (number == fieldNumber)
            names.append(name);
    }
    return names;
}

void ActTest::SetRow(int row, qint32 fieldNumber, const QString &value)
{
    rows.SelectRowField(row, fieldNumber);
    ASSERT_EQ(rows.ReadRow(row).value_or(RowContent{}).FieldNumber, fieldNumber)
        << "no catalogue entry for field " << fieldNumber;
    rows.SetRowValue(row, value);
}
