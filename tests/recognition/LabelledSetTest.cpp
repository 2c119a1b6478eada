// The improved recognizer over the labelled blocks: the share of blocks a user
// need not correct must not fall below what it reached. (The classic one is
// pinned row by row by the realistic blocks.)

#include "common/TestFiles.h"

#include "recognition/ParseAddress.h"
#include "recognition/RecognitionContext.h"
#include "support/FieldRows.h"
#include "support/SettingsFile.h"

#include <gtest/gtest.h>

#include <QDir>

#include <map>
#include <vector>

namespace {

// Blocks needing no correction, as reached; raise it when the recognizer gets better.
constexpr double NoCorrectionFloor = 0.99;

std::multimap<qint32, QString> readTruth(const QString &path)
{
    std::multimap<qint32, QString> truth;
    for (const QString &line : QString::fromUtf8(readBytes(path)).split(u'\n')) {
        if (line.trimmed().isEmpty() || line.trimmed().startsWith(u'#'))
            continue;
        truth.emplace(line.section(u' ', 0, 0).toInt(), line.section(u' ', 1).trimmed());
    }
    return truth;
}

// Wrong, missing and extra rows together, as the quality script counts them.
int rowsToFix(const FieldRows &rows, const std::multimap<qint32, QString> &truth)
{
    struct Filled
    {
        qint32 field;
        QString value;
        bool used = false;
    };
    std::vector<Filled> filled;
    for (int row = 0; row < FieldRows::RowCount; ++row) {
        const auto content = rows.ReadRow(row);
        if (content && !content->Value.trimmed().isEmpty())
            filled.push_back({content->FieldNumber, content->Value.trimmed()});
    }
    const auto take = [&filled](qint32 field, const QString *value) {
        for (Filled &f : filled) {
            if (!f.used && f.field == field && (value == nullptr || f.value == *value)) {
                f.used = true;
                return true;
            }
        }
        return false;
    };
    int fixes = 0;
    std::vector<qint32> notRight;
    for (const auto &[field, value] : truth) {
        if (!take(field, &value))
            notRight.push_back(field);
    }
    for (qint32 field : notRight) {
        take(field, nullptr); // wrong when taken, missing when not: one fix either way
        ++fixes;
    }
    for (const Filled &f : filled)
        fixes += f.used ? 0 : 1;
    return fixes;
}

TEST(LabelledSet, ImprovedRecognizerNeedsNoCorrectionInMostBlocks)
{
    const QDir folder(QStringLiteral(ORDALIS_TEST_DATA "/labelled"));
    const QStringList blocks = folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    ASSERT_GE(blocks.size(), 300);
    const Settings settings;
    FieldRows rows;
    rows.FillStandardCatalogue();
    int clean = 0;
    QStringList toCorrect;
    for (const QString &block : blocks) {
        RecognitionContext context(settings);
        context.recognizer = Recognizer::Improved;
        QString clipText;
        CaptureText(context, QString::fromUtf8(readBytes(folder.filePath(block))), false, rows,
                    clipText);
        const int fixes = rowsToFix(
            rows, readTruth(folder.filePath(block.chopped(4) + QStringLiteral(".truth"))));
        if (fixes == 0)
            ++clean;
        else
            toCorrect << QStringLiteral("%1 (%2)").arg(block).arg(fixes);
    }
    EXPECT_GE(double(clean) / double(blocks.size()), NoCorrectionFloor)
        << clean << " of " << blocks.size() << " need no correction; to correct: "
        << toCorrect.join(QStringLiteral(", ")).toStdString();
}

} // namespace
