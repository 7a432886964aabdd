#include "datafiles/atomic_file.h"
#include "datafiles/background_flush.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <thread>
#include <windows.h>

// A write while the flusher (or a scanner) holds the old file open: the settings are written
// while the operator drags or switches screens, and the flush of the write before may be
// running just then.
TEST(BusyTarget, AWriteWaitsForAHandleOnTheOldFileAndReplacesIt)
{
    for (const Flush flush : {Flush::Now, Flush::InBackground}) {
        QTemporaryDir dir;
        const QString path = dir.path() + QStringLiteral("/opt.ini");
        ASSERT_EQ(writeFileAtomically(path, "old"), 0);
        const HANDLE held =
            CreateFileW(QDir::toNativeSeparators(path).toStdWString().c_str(), GENERIC_WRITE,
                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        std::thread release([held] {
            Sleep(150);
            CloseHandle(held);
        });
        const int err = writeFileAtomically(path, "new", flush);
        release.join();
        EXPECT_EQ(err, 0);
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        EXPECT_EQ(file.readAll(), QByteArray("new"));
        finishBackgroundFlushes();
        // Nothing of the write is left beside the file.
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("opt.ini")});
    }
}
