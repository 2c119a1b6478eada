#include "RecognitionTestSupport.h"

#include "common/CaseFile.h"
#include "recognition/ParseAddress.h"

#include <QDir>

namespace {

// Each block NAME.txt (the text as copied, UTF-8) has NAME.rows beside it:
// one line per filled row, "row field value" (field "-" when none is chosen),
// "hit id value" for each definition hit, and optionally "box TEXT" (what the
// text box shows) and settings "set land4|land5|separator VALUE". Lines
// starting with "#" and blank lines are comments. Every block must parse: the
// Windows package is checked against the same blocks.
struct Expected
{
    QString rows;
    std::optional<QString> box;
};

Expected readExpected(const QString &path, Settings &config, RecognitionContext &context)
{
    Expected expected;
    for (QString line : QString::fromUtf8(readBytes(path)).split(u'\n')) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        const QString value = line.section(u' ', 2);
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u"set land4 "))
            config.StandardLand4PLZ = value;
        else if (line.startsWith(u"set land5 "))
            config.StandardLand5PLZ = value;
        else if (line.startsWith(u"set separator "))
            context.UserSeparator = value;
        else if (line.startsWith(u"box"))
            expected.box = DataText(line.mid(4));
        else
            expected.rows += line + u'\n';
    }
    return expected;
}

class AddressBlocksTest : public RecognitionTest
{};

TEST_F(AddressBlocksTest, RealisticBlocksGiveTheirRows)
{
    const QDir folder(QStringLiteral(ORDALIS_TEST_DATA "/blocks"));
    const QStringList blocks = folder.entryList({QStringLiteral("*.txt")}, QDir::Files, QDir::Name);
    ASSERT_GE(blocks.size(), 50);
    for (const QString &block : blocks) {
        SCOPED_TRACE(block.toStdString());
        Settings config;
        // Two definitions, as a user might keep them.
        config.UserDefinitions = {{88, QStringLiteral("Abteilung:")},
                                  {74, QStringLiteral("Durchwahl:")}};
        config.DefinitionsLoaded = true;
        RecognitionContext context{config};
        FieldRows rows;
        rows.FillStandardCatalogue();
        rows.SetRowValue(15, QStringLiteral("from before"));
        const Expected expected = readExpected(
            folder.filePath(block.chopped(4) + QStringLiteral(".rows")), config, context);
        QString clipText;
        const ParseStatus status =
            CaptureText(context, QString::fromUtf8(readBytes(folder.filePath(block))), false, rows,
                        clipText, nullptr);
        EXPECT_EQ(status, ParseStatus::Ok);
        QString actual = RowsSummary(rows);
        for (const clsZusatzDefs &hit : context.DefinitionHits)
            actual += QStringLiteral("hit %1 %2\n").arg(hit.ID).arg(hit.Wert);
        EXPECT_EQ(actual, expected.rows);
        if (expected.box) {
            EXPECT_EQ(clipText, *expected.box);
        }
    }
}

} // namespace
