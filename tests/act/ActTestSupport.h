#pragma once

#include "../standin/StandinFixture.h"
#include "common/TestFiles.h"

#include "act/ActConnection.h"
#include "act/ActHost.h"
#include "act/standin/ContactDatabase.h"

#include "recognition/RecognitionContext.h"

#include "common/RecordingPresenter.h"
#include "support/FieldRows.h"
#include "support/modZusatzDefs.h"

#include <QMap>
#include <QStringList>
#include <QTemporaryDir>

// The window's part, played by the test: a clipboard it recognises from, a
// completion dialog answering as scripted, and a record of what it was asked.
class TestHost : public ActHost
{
public:
    TestHost(FieldRows &rows, RecognitionContext &context) : m_rows(rows), m_context(context) {}
    void SetBusyPointer(bool busy) override;
    void SetTopMost(bool onTop) override;
    QString CapturedText() const override { return clipText; }
    void CaptureClipboard() override;
    quint8 ShowCompletionDialog(bool LastWriteWasNew) override;
    void EndProgram() override { ++programEnds; }

    QString clipboard, clipText;
    quint8 completionAnswer = 2;
    int captures = 0, programEnds = 0;
    QList<bool> completions; // LastWriteWasNew as each completion dialog saw it
    bool busy = false;
    QStringList events;

private:
    FieldRows &m_rows;
    RecognitionContext &m_context;
};

using Catalogue = QVector<std::pair<qint32, QString>>;
using Values = QMap<qint32, QString>;

// A fresh program per test: standard catalogue and default settings in the
// rows, its own context and connection, its own program folder.
class ActTest : public StandinFixture
{
protected:
    void SetUp() override;
    void TearDown() override;

    QString SettingsPath() const { return m_program.path() + QStringLiteral("/ordalis.ini"); }
    void WriteSettings(const QByteArray &content) const { writeBytes(SettingsPath(), content); }
    QByteArray SettingsContent() const { return readBytes(SettingsPath()); }
    static QString TestData(const QString &name);
    // A contact as "field<TAB>value" lines.
    static Values ExpectedContact(const QString &name);

    static Catalogue CatalogueOf(const FieldRows &rows);
    QStringList NamesOf(qint32 fieldNumber) const;
    void SetRow(int row, qint32 fieldNumber, const QString &value);

    // ACT!'s database, read whether it runs or not.
    QVector<StandinContact> Contacts() const;
    qint64 ShownId() const;
    Values ShownValues() const;
    void SetFieldLabel(qint32 fieldNumber, const QString &label) const;

    FieldRows rows;
    Settings settings;
    RecognitionContext context{settings};
    ActConnection act;
    TestHost host{rows, context};
    RecordingPresenter messages;

private:
    QTemporaryDir m_program;
};
