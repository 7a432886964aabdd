// A long quota-mode draw driven through the handlers: every prize comes up exactly as often
// as the pool says, the pool runs out cleanly, and memory does not grow with the spins.
// PW_SOAK_POOL sets the pool size (8000 for the full soak; CI runs a shorter one).
#include "draw_screen_fixture.h"

#include "draw/prize_pool.h"

#include <QFile>
#include <QTextEdit>

#if defined(__SANITIZE_ADDRESS__)
#include <cstddef>
// The sanitizer runtime's own count (GCC ships no header declaring it).
extern "C" size_t __sanitizer_get_current_allocated_bytes();
#endif

namespace {
long residentKilobytes()
{
#if defined(__SANITIZE_ADDRESS__)
    // Under AddressSanitizer freed blocks wait in its quarantine (up to 256 MB) and count in
    // the resident size; what a leak grows is the bytes still allocated.
    return static_cast<long>(__sanitizer_get_current_allocated_bytes() / 1024);
#else
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return 0;
#endif
}
} // namespace

using Soak = DrawScreenTest;

TEST_F(Soak, EveryPrizeComesUpExactlyItsQuantity)
{
    const int poolSize = qEnvironmentVariableIntValue("PW_SOAK_POOL") > 0
                             ? qEnvironmentVariableIntValue("PW_SOAK_POOL")
                             : 400;
    PrizeQuantities quantities{};
    for (int slot = 0; slot < 8; ++slot)
        quantities[slot] = poolSize / 8;
    RandomSource random([] { return 99u; });
    folder.write("data/db.dat", poolFileBytes(generatePool(quantities, random)));
    folder.setSetting("kongzhimoshi", "3");
    startProgram();
    ASSERT_EQ(screen->session().draw().pool().size(), poolSize / 8 * 8);

    const int spins = poolSize + poolSize / 4; // on past the end of the pool
    long memoryAfterWarmUp = 0;
    for (int spin = 0; spin < spins; ++spin) {
        screen->startButtonClick();
        ASSERT_LT(runSpin(200), 200) << "spin " << spin << " did not stop";
        if (spin == poolSize / 10)
            memoryAfterWarmUp = residentKilobytes();
    }

    std::array<int, 8> won{};
    const QStringList lines = screen->parts().resultsList->toPlainText().split('\n');
    for (int slot = 1; slot <= 8; ++slot)
        won[slot - 1] = static_cast<int>(
            lines.count(QStringLiteral("恭喜！你获得了奖品     ") + screen->prizeName(slot)));
    EXPECT_EQ(won, quantities);
    EXPECT_TRUE(screen->session().draw().pool().isEmpty());
    // One "all drawn" for each spin past the end; the last prize's own waited for its
    // celebration, which the next spin ended.
    EXPECT_EQ(boxes.texts().size(), spins - poolSize / 8 * 8);
    EXPECT_TRUE(boxes.errors().isEmpty());
    // The results list itself grows; anything beyond a few megabytes is a leak per spin.
    EXPECT_LT(residentKilobytes() - memoryAfterWarmUp, 32 * 1024);
}
