#include "draw/prize_draw.h"
#include "journal/journal.h"
#include "journal/journal_reader.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

Announcement win(int32_t drawn)
{
    Announcement a;
    a.mode = "1";
    a.drawn = drawn;
    a.slot = 1 + drawn % 8;
    return a;
}

class JournalKill : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(JournalFileName);
};

} // namespace

// A child appends announcements at spin pace and tells the parent each one after recording
// it; the parent kills it at a random moment. Whatever was recorded more than 100 ms before
// the kill must be in the file, whole and chained. PW_KILL_RUNS sets the number of kills.
TEST_F(JournalKill, KilledAtRandomMomentsKeepsEveryRecordedAnnouncement)
{
    const int runs = qEnvironmentVariableIntValue("PW_KILL_RUNS") > 0
                         ? qEnvironmentVariableIntValue("PW_KILL_RUNS")
                         : 200;
    QRandomGenerator random(7);
    int expected = 0;
    for (int run = 0; run < runs; ++run) {
        int pipeFds[2];
        ASSERT_EQ(::pipe(pipeFds), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            ::close(pipeFds[0]);
            Journal journal(path, QDateTime::currentDateTime());
            journal.recordStart("ab12", 1);
            for (int32_t n = 0;; ++n) {
                journal.recordWin(win(n), QStringLiteral("奖"));
                if (::write(pipeFds[1], &n, sizeof n) != sizeof n)
                    ::_exit(1);
                ::usleep(2000 + static_cast<useconds_t>(n % 7) * 1000);
            }
        }
        ::close(pipeFds[1]);
        QElapsedTimer clock;
        clock.start();
        const qint64 killAt = 50 + random.bounded(400);
        QList<std::pair<qint64, int32_t>> told;
        // Waits for the child's word no longer than the kill: a child forked from this
        // process of several threads may stall before its first row.
        for (qint64 now = 0; (now = clock.elapsed()) < killAt;) {
            pollfd ready{pipeFds[0], POLLIN, 0};
            int32_t n;
            if (::poll(&ready, 1, static_cast<int>(killAt - now)) > 0 &&
                ::read(pipeFds[0], &n, sizeof n) == sizeof n)
                told.append({clock.elapsed(), n});
        }
        ::kill(child, SIGKILL);
        const qint64 killed = clock.elapsed();
        ::waitpid(child, nullptr, 0);
        ::close(pipeFds[0]);

        ASSERT_EQ(firstModifiedLine(path), 0) << "run " << run;
        const QList<JournalRow> wins = readJournalTail(path).wins;
        QSet<int32_t> written;
        for (const JournalRow& row : wins)
            written.insert(row.drawn.toInt());
        for (const auto& [at, n] : told) {
            if (at < killed - 100) {
                ASSERT_TRUE(written.contains(n)) << "run " << run << " entry " << n;
            }
        }
        expected += static_cast<int>(told.size());
    }
    EXPECT_GT(expected, runs); // the children did announce
}
