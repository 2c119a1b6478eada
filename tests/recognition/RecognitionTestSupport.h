#pragma once

#include "common/TestFiles.h"

#include "recognition/RecognitionContext.h"
#include "recognition/SeparatorDialog.h"
#include "recognition/clsZeile.h"

#include "common/RecordingPresenter.h"
#include "support/FieldRows.h"

#include <gtest/gtest.h>

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

// Non-zero scores of a line in member order, e.g. "Firma=3 Kontakt=3".
QString ScoreSummary(const clsZeile &line);

// Lines of a block as records with empty scores.
LineList MakeLines(const QStringList &texts);
// Splits on "\n" and runs labels, country prefixes and scoring as a parse does
// (no user definitions).
LineList ScoreBlock(const QString &block);

// An escaped text of a data file.
QString DataText(const QString &escaped);

// Non-empty rows as "row field value" lines, field "-" when none is selected.
QString RowsSummary(const FieldRows &rows);

// A separator dialog that accepts a fixed choice (empty: closed without one).
class ScriptedDialog : public SeparatorDialog
{
public:
    explicit ScriptedDialog(QString choice) : m_choice(std::move(choice)) {}
    QString Open() override;
    int Opened = 0;

private:
    QString m_choice;
};

// Each test its own settings and context: no definitions, default countries,
// automatic separator, messages recorded.
class RecognitionTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    RecordingPresenter Presenter;
    FieldRows Rows;
    Settings Config;
    RecognitionContext Context{Config};
};
