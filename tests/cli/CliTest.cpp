// ordalis-cli run as a user runs it, against the cases in data/cli-cases.txt.

#include "common/CaseFile.h"
#include "common/TestFiles.h"

#include <gtest/gtest.h>

#include <QProcess>
#include <QTemporaryDir>

using namespace Qt::StringLiterals;

namespace {

TEST(Cli, CasesOfTheCaseFile)
{
    const QString data = QStringLiteral(ORDALIS_TEST_DATA);
    const std::vector<DataCase> cases = ReadCases(data + u"/cli-cases.txt"_s);
    ASSERT_GE(cases.size(), 20u);
    for (const DataCase &c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        QTemporaryDir temp;
        const auto place = [&](QString text) {
            return text.replace(u"@DATA"_s, data).replace(u"@TEMP"_s, temp.path());
        };
        QStringList arguments;
        if (!c.value(u"args"_s).isEmpty())
            arguments = place(c.value(u"args"_s)).split(u'|');
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"ORDALIS_HOME"_s, temp.path());
        environment.insert(u"LC_ALL"_s, u"C.UTF-8"_s);
        QProcess cli;
        cli.setProcessEnvironment(environment);
        cli.start(QStringLiteral(ORDALIS_CLI), arguments);
        cli.write(Unescape(c.value(u"stdin"_s)));
        cli.closeWriteChannel();
        ASSERT_TRUE(cli.waitForFinished(60000));
        EXPECT_EQ(cli.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(cli.exitCode(), c.value(u"exit"_s).toInt());
        const QByteArray out = c.has(u"golden"_s) ? readBytes(place(c.value(u"golden"_s)))
                                                  : Unescape(place(c.value(u"stdout"_s)));
        EXPECT_EQ(QString::fromUtf8(cli.readAllStandardOutput()), QString::fromUtf8(out));
        EXPECT_EQ(QString::fromUtf8(cli.readAllStandardError()),
                  QString::fromUtf8(Unescape(place(c.value(u"stderr"_s)))));
    }
}

} // namespace
