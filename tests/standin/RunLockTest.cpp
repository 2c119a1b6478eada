#include "act/standin/StandinRunLock.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

// Programs look at the lock on every call and keep the lock file open between
// looks; what they see must still follow the holder.
TEST(RunLock, LooksFollowTheHolderAcrossRestartsAndReplacedFiles)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(u"act-standin.lock"_s);
    EXPECT_FALSE(StandinRunLock::Look(path).running) << "no lock file yet";

    {
        StandinRunLock holder(path);
        ASSERT_TRUE(holder.TryAcquire());
        holder.PublishDatabaseOpen(true);
        EXPECT_TRUE(StandinRunLock::Look(path).running);
        EXPECT_TRUE(StandinRunLock::Look(path).databaseOpen);
        holder.PublishDatabaseOpen(false);
        EXPECT_FALSE(StandinRunLock::Look(path).databaseOpen);

        StandinRunLock second(path);
        EXPECT_FALSE(second.TryAcquire()) << "one holder at a time";
    }
    EXPECT_FALSE(StandinRunLock::Look(path).running) << "released";

    // A new stand-in on a fresh lock file at the same path (folder wiped).
    ASSERT_TRUE(QFile::remove(path));
    StandinRunLock restarted(path);
    ASSERT_TRUE(restarted.TryAcquire());
    EXPECT_TRUE(StandinRunLock::Look(path).running) << "the replaced file must be looked at";
}
