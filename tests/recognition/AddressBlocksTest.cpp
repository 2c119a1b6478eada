#include "RecognitionTestSupport.h"

#include "recognition/ParseAddress.h"

#include <QDir>
#include <QFile>

namespace {

// Each block NAME.txt (the text as copied, UTF-8) has NAME.rows beside it:
// one line per filled row, "row field value" (field "-" when none is chosen),
// and "hit id value" for each definition hit. Lines starting with "#" and
// blank lines are comments.
QString readUtf8(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll());
}

QString expectedRows(const QString &path)
{
    QString expected;
    const QStringList lines = readUtf8(path).split(u'\n');
    for (QString line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        expected += line + u'\n';
    }
    return expected;
}

class AddressBlocksTest : public RecognitionTest
{};

TEST_F(AddressBlocksTest, RealisticBlocksGiveTheirRows)
{
    // Two definitions, as a user might keep them.
    Config.UserDefinitions = {{88, QStringLiteral("Abteilung:")},
                              {74, QStringLiteral("Durchwahl:")}};
    Config.DefinitionsLoaded = true;

    const QDir folder(QStringLiteral(ORDALIS_TEST_DATA "/blocks"));
    const QStringList blocks = folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    ASSERT_GE(blocks.size(), 30);
    for (const QString &block : blocks) {
        const QString base = folder.filePath(block.chopped(4));
        QString clipText;
        const ParseStatus status =
            CaptureText(Context, readUtf8(folder.filePath(block)), false, Rows, clipText, nullptr);
        EXPECT_EQ(status, ParseStatus::Ok) << block.toStdString();
        QString actual = RowsSummary(Rows);
        for (const clsZusatzDefs &hit : Context.DefinitionHits)
            actual += QStringLiteral("hit %1 %2\n").arg(hit.ID).arg(hit.Wert);
        EXPECT_EQ(actual, expectedRows(base + QStringLiteral(".rows"))) << block.toStdString();
    }
}

} // namespace
