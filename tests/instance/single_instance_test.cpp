#include "instance/single_instance.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <future>
#include <gtest/gtest.h>
#include <memory>

namespace {

QStringList entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Claims the folder from another thread, as a second process would: the running program's
// side needs this thread's event loop to take the connection.
std::future<bool> claimElsewhere(const QString& folder)
{
    return std::async(std::launch::async, [folder] {
        SingleInstance later(folder);
        return later.claim();
    });
}

struct Spelling
{
    const char* name;
    QString (*of)(const QString& folder);
};

const Spelling Spellings[] = {
    {"same", [](const QString& f) { return f; }},
    {"trailing slash", [](const QString& f) { return f + '/'; }},
    {"through a subfolder and back", [](const QString& f) { return f + "/data/.."; }},
    {"relative to the working folder",
     [](const QString& f) { return QDir::current().relativeFilePath(f); }},
};

} // namespace

// A later start in the folder, however the folder is spelled, finds the running program, asks
// it to the front, and is told to end; it leaves nothing in the folder but the lock.
TEST(SingleInstance, LaterStartInTheSameFolderAsksTheRunningOneToTheFront)
{
    for (const Spelling& spelling : Spellings) {
        SCOPED_TRACE(spelling.name);
        QTemporaryDir dir;
        QDir(dir.path()).mkdir("data");
        SingleInstance running(dir.path());
        QSignalSpy asked(&running, &SingleInstance::activationRequested);
        ASSERT_TRUE(running.claim());
        const QStringList before = entries(dir.path());
        EXPECT_EQ(before, QStringList({SingleInstance::LockFileName, "data"}));

        std::future<bool> later = claimElsewhere(spelling.of(dir.path()));
        EXPECT_TRUE(asked.wait(5000)) << "the running program was not asked to the front";
        EXPECT_FALSE(later.get()) << "the later start was let run";
        EXPECT_EQ(asked.count(), 1);
        EXPECT_EQ(entries(dir.path()), before);
        EXPECT_EQ(SingleInstance::serverName(spelling.of(dir.path())),
                  SingleInstance::serverName(dir.path()));
    }
}

// Programs in different folders run side by side and never ask each other to the front; a
// folder is free again once its program has ended.
TEST(SingleInstance, FoldersAreIndependentAndFreedAtTheEnd)
{
    QTemporaryDir one, two;
    EXPECT_NE(SingleInstance::serverName(one.path()), SingleInstance::serverName(two.path()));
    auto first = std::make_unique<SingleInstance>(one.path());
    QSignalSpy firstAsked(first.get(), &SingleInstance::activationRequested);
    ASSERT_TRUE(first->claim());
    {
        SingleInstance second(two.path());
        EXPECT_TRUE(second.claim());
        QCoreApplication::processEvents();
        EXPECT_EQ(firstAsked.count(), 0);
    }
    first.reset();
    EXPECT_FALSE(QFile::exists(one.filePath(SingleInstance::LockFileName)));
    SingleInstance again(one.path());
    EXPECT_TRUE(again.claim());
}

// A lock file that names no owner (a start cut off by a power cut before it wrote the file)
// is taken over once it is not brand new; a brand new one may be a start at that very moment.
TEST(SingleInstance, LockFileWithoutOwnerIsTakenOverOnceOld)
{
    QTemporaryDir dir;
    const QString lock = dir.filePath(SingleInstance::LockFileName);
    QFile file(lock);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    {
        SingleInstance fresh(dir.path());
        EXPECT_FALSE(fresh.claim());
    }
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60),
                                 QFileDevice::FileModificationTime));
    file.close();
    SingleInstance later(dir.path());
    EXPECT_TRUE(later.claim());
}
