// Taking a draw back, over many evenings of draws, takings back and restarts from the journal.
#include "draw/draw_session.h"
#include "draw/prize_pool.h"
#include "draw/spin_rules.h"
#include "journal/journal.h"
#include "journal/journal_reader.h"

#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>
#include <memory>
#include <numeric>
#include <random>

namespace {

// The journal as the program writes it, row after chained row, kept in memory until a
// restart reads it back from the file.
struct JournalBytes
{
    QByteArray bytes = JournalHeader;
    QByteArray lastCheck;
    QString run;
    QDateTime clock = QDateTime(QDate(2027, 1, 28), QTime(19, 0));

    void add(JournalRow row)
    {
        clock = clock.addMSecs(1);
        row.time = journalTime(clock);
        row.run = run;
        bytes += formatRow(row, lastCheck);
        lastCheck = row.check;
    }
};

// As a vector: Qt's own comparison of two empty lists hands memcmp a null pointer, which the
// sanitizer build stops at.
std::vector<int32_t> sorted(const QList<int32_t>& entries)
{
    std::vector<int32_t> values(entries.begin(), entries.end());
    std::sort(values.begin(), values.end());
    return values;
}

// One run of the program over the pool: a session that records into the journal.
std::unique_ptr<DrawSession> startRun(JournalBytes& journal, const QList<int32_t>& pool,
                                      const QByteArray& hash, std::mt19937& random)
{
    auto session = std::make_unique<DrawSession>();
    session->setRandomClock([&random] { return static_cast<uint32_t>(random()); });
    session->setPrizeNames([](int slot) { return QStringLiteral("奖品%1").arg(slot); });
    session->setPool(pool, hash);
    journal.run = journalTime(journal.clock.addSecs(1));
    journal.add(startRow(hash, pool.size()));
    QObject::connect(session.get(), &DrawSession::announced,
                     [&journal](const Announcement& a, const DrawResult& r) {
                         journal.add(winRow(a, r.prize));
                     });
    QObject::connect(
        session.get(), &DrawSession::resultVoided,
        [&journal](qsizetype index, const DrawResult& r) { journal.add(voidRow(r, index + 1)); });
    return session;
}

void spin(DrawSession& session)
{
    const SpinSettings quota = SpinSettings::fixed("3");
    session.start(DrawSession::plan(quota));
    long double angle = 0;
    for (SpinReport report; !report.ended();) {
        report = session.tick(quota, angle);
        angle = report.angle;
    }
}

QList<bool> voidedFlags(const DrawSession& session)
{
    QList<bool> flags;
    for (const DrawResult& r : session.results())
        flags.append(r.voided);
    return flags;
}

} // namespace

TEST(TakingBack, NoPrizeComesUpMoreOftenThanItsQuantityAndNoneIsLost)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(JournalFileName);
    for (unsigned evening = 0; evening < 2000; ++evening) {
        std::mt19937 random(evening);
        PrizeQuantities quantities{};
        for (int32_t& n : quantities)
            n = static_cast<int32_t>(random() % 3);
        RandomSource poolRandom([&random] { return static_cast<uint32_t>(random()); });
        const QList<int32_t> saved = generatePool(quantities, poolRandom);
        const QByteArray hash = sha256Hex(poolFileBytes(saved));
        JournalBytes journal;
        std::unique_ptr<DrawSession> session = startRun(journal, saved, hash, random);
        for (int step = 0; step < 24; ++step) {
            const unsigned what = random() % 10;
            if (what < 6 && !session->draw().pool().isEmpty()) {
                spin(*session);
            } else if (what < 9) {
                session->voidLatest();
            } else {
                // Killed and started again, answering yes to carrying on.
                const QList<bool> before = voidedFlags(*session);
                QFile file(path);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write(journal.bytes);
                file.close();
                const JournalTail tail = readJournalTail(path);
                const QString earlierRun = journal.run;
                session = startRun(journal, saved, hash, random);
                if (tail.unsaved) {
                    session->continueEarlierRun(earlierWins(tail));
                    journal.add(continueRow(earlierRun));
                }
                ASSERT_EQ(voidedFlags(*session), before) << "evening " << evening;
            }
            // The pool is the saved one less the draws given; each prize within its quantity.
            QList<int32_t> left = saved;
            std::array<int, 8> given{};
            for (const DrawResult& r : session->results()) {
                if (r.voided)
                    continue;
                ASSERT_TRUE(left.removeOne(r.draw.drawn)) << "evening " << evening;
                ++given[static_cast<size_t>(prizeSlotForAngle(r.draw.angle) - 1)];
            }
            for (size_t slot = 0; slot < 8; ++slot)
                ASSERT_LE(given[slot], quantities[slot]) << "evening " << evening;
            ASSERT_EQ(sorted(session->draw().pool()), sorted(left)) << "evening " << evening;
            ASSERT_EQ(session->prizesGiven(), std::accumulate(given.begin(), given.end(), 0));
        }
    }
}
