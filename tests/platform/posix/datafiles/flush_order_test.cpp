#include "datafiles/background_flush.h"
#include "datafiles/text_file.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "support/io_calls.h"

// A save flushes the new file before it takes the old one's name, and then the folder that
// holds the name, so that a power cut right after it keeps the new file.
TEST(TextFileSave, FlushesTheFileThenRenamesThenFlushesTheFolder)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).canonicalPath() + QStringLiteral("/数量.txt");
    for (int round = 0; round < 2; ++round) { // new, then replaced
        takeIoCalls();
        saveTextFile(file, "1\r\n");
        std::vector<std::string> order;
        for (const IoCall& io : takeIoCalls())
            order.push_back(
                io.call + " " +
                (io.path.rfind(file.toStdString(), 0) == 0 ? "file"
                 : io.path == QFile::encodeName(QDir(dir.path()).canonicalPath()).toStdString()
                     ? "folder"
                     : io.path));
        EXPECT_EQ(order, (std::vector<std::string>{"fsync file", "rename file", "fsync folder"}));
    }
}

namespace {

QSet<QString> threadsOfThisProcess()
{
    const QStringList ids =
        QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    return QSet<QString>(ids.begin(), ids.end());
}

} // namespace

// Ending the flushes (as the application's teardown does) flushes what waits without waiting
// for the writes to rest, leaves no thread of the worker's behind, and a later request is
// flushed by a new worker; each round off the user-interface thread.
TEST(BackgroundFlush, FinishingFlushesWhatWaitsAndLeavesNoThreadRunning)
{
    QTemporaryDir dir;
    const QString file = QDir(dir.path()).canonicalPath() + QStringLiteral("/opt.ini");
    QFile f(file);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.close();
    for (int round = 0; round < 2; ++round) {
        const QSet<QString> before = threadsOfThisProcess();
        takeIoCalls();
        flushInBackground(file);
        finishBackgroundFlushes();
        std::vector<std::string> flushes;
        for (const IoCall& io : takeIoCalls()) {
            if (io.call == "fsync" && io.path == file.toStdString()) {
                flushes.push_back(io.path);
                EXPECT_FALSE(io.onUiThread) << "round " << round;
            }
        }
        EXPECT_EQ(flushes.size(), 1u) << "round " << round;
        EXPECT_TRUE(before.contains(threadsOfThisProcess()))
            << "round " << round << ": a thread is still running";
    }
}
