#include "HardeningData.h"
#include "WriterFixture.h"

#include "act/ActObject.h"
#include "support/modZusatzDefs.h"

#include <QElapsedTimer>
#include <QSet>
#include <QThread>

#include <random>

#include <sys/stat.h>

namespace {

constexpr int Kills = 50;

// What tells one version of the file from the next.
std::pair<quint64, qint64> version(const QString &path)
{
    struct stat st
    {};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return {0, 0};
    return {quint64(st.st_ino), qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec};
}

// Starts the writer, waits until it has replaced the file at least once (so
// it is inside its loop), lets it run a random while longer and kills it.
void killWhileWriting(const QString &file, const QStringList &arguments, std::mt19937 &random)
{
    const auto before = version(file);
    QProcess writer;
    ASSERT_NO_FATAL_FAILURE(StartWriter(writer, arguments));
    QElapsedTimer waited;
    waited.start();
    while (version(file) == before && waited.elapsed() < 20000 &&
           writer.state() == QProcess::Running)
        QThread::usleep(200);
    ASSERT_EQ(writer.state(), QProcess::Running) << "the writer ended by itself";
    ASSERT_NE(version(file), before) << "the writer never wrote";
    QThread::usleep(std::uniform_int_distribution<unsigned>(0, 30000)(random));
    writer.kill(); // SIGKILL
    ASSERT_TRUE(writer.waitForFinished(10000));
}

class CrashSafety : public WriterFixture
{
protected:
    std::mt19937 m_random{std::random_device{}()};
};

} // namespace

TEST_F(CrashSafety, SettingsFileIsOldOrNewWhenTheCacheSaveIsKilled)
{
    const QByteArray initial = "; von Hand\r\n[Config]\r\nCacheFelder=1\r\n"
                               "StandardLand5PLZ=Deutschland\r\n\r\n"
                               "[Felder]\r\nZeile1=1;Alt\r\nZeile2=\r\n\r\n"
                               "[Definitionen]\r\nID1=88\r\nWert1=Abteilung:\r\n";
    // The whole states the loop goes through, made by the same saves here.
    const QString model = TempPath(QStringLiteral("model.ini"));
    writeBytes(model, initial);
    FieldRows first;
    FieldRows second;
    HardeningData::FillCatalogue(first, false);
    HardeningData::FillCatalogue(second, true);
    SaveFieldCache(first, model);
    const QByteArray afterFirst = readBytes(model);
    SaveFieldCache(second, model);
    const QByteArray afterSecond = readBytes(model);
    SaveFieldCache(first, model);
    ASSERT_EQ(readBytes(model), afterFirst) << "the loop has exactly these states";
    ASSERT_NE(afterFirst, afterSecond);

    const QString settings = TempPath(QStringLiteral("ordalis.ini"));
    writeBytes(settings, initial);
    QSet<QByteArray> seen;
    for (int kill = 0; kill < Kills; ++kill) {
        SCOPED_TRACE(kill);
        ASSERT_NO_FATAL_FAILURE(
            killWhileWriting(settings, {QStringLiteral("cache"), settings}, m_random));
        const QByteArray now = readBytes(settings);
        ASSERT_TRUE(now == initial || now == afterFirst || now == afterSecond)
            << "kill " << kill << " left " << now.size() << " bytes that are no whole state";
        seen.insert(now);
    }
    EXPECT_TRUE(seen.contains(afterFirst) && seen.contains(afterSecond))
        << "the kills should land in both saves";
}

TEST_F(CrashSafety, CommandFileIsAWholeStateWhenTheStandinIsKilled)
{
    const QByteArray initial = "; ACT! Befehlsdatei\r\n[Settings]\r\nVersion = 6.0\r\n\r\n"
                               "[AuxCommand-0]\r\ncmdname=Kalender\r\ncmdline=/act/cal\r\n"
                               "[AuxCommand-1]\r\ncmdname=Brief\r\ncmdline=/act/brief\r\n";
    // The file with the command fully added, made by the same call; an add or
    // a delete is one replacement, so a kill leaves either this or the file as it was.
    writeBytes(CommandFile(), initial);
    CreateActObject(ActProgId::AuxCommands)
        ->Call(QStringLiteral("AddAuxCommand"),
               HardeningData::AddArguments(HardeningData::CycledCommand));
    const QByteArray added = readBytes(CommandFile());
    ASSERT_TRUE(added.startsWith(initial));

    writeBytes(CommandFile(), initial);
    QSet<QByteArray> seen;
    for (int kill = 0; kill < Kills; ++kill) {
        SCOPED_TRACE(kill);
        ASSERT_NO_FATAL_FAILURE(
            killWhileWriting(CommandFile(), {QStringLiteral("cycle")}, m_random));
        const QByteArray now = readBytes(CommandFile());
        ASSERT_TRUE(now == initial || now == added) << "kill " << kill << " left:\n"
                                                    << now.toStdString();
        seen.insert(now);
    }
    EXPECT_GE(seen.size(), 2) << "the kills should land in different states";
}
