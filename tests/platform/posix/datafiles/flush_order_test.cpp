#include "datafiles/text_file.h"

#include <QDir>
#include <QFile>
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
