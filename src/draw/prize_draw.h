#pragma once

#include "draw/excluded_slots.h"
#include "draw/random_source.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <cstdint>
#include <optional>

// One announcement as the draw made it: what the journal records and the screen shows.
struct Announcement
{
    QByteArray mode;     // the control mode whose rule stopped the spin
    int slot = 0;        // prize slot 1 to 8
    long double angle{}; // the pointer's final angle
    uint32_t seed = 0;   // the seed the drawn value came from
    int32_t drawn = 0;   // SpinTarget (fully random) or the pool entry E (quota)
};

// What one tick of a spin decided, for the screen to carry out in this order: show the
// distance, stop with a prize, then the all-drawn check, then the end of a ruleless spin.
struct TickStep
{
    std::optional<long double> distance; // quota mode: E + angle, still to go
    bool stops = false;                  // the stop test fired: settle() gives the prize
    bool checksPool = false;             // quota mode: poolUsedUp() ends the spin
    bool noStopRule = false;             // the mode has no stop rule: the spin ends, no prize
};

// The draw without any widget: the control mode rules, the pool of the run, the drawn
// SpinTarget and PoolIndex, the random source, the stop test and the stop decisions. The
// session asks it at each tick; each prize is reported through announced().
class PrizeDraw : public QObject
{
    Q_OBJECT

public:
    explicit PrizeDraw(QObject* parent = nullptr);

    // Whether a spin may start in this mode: a mode without a stop rule would never end.
    static bool hasStopRule(const QByteArray& mode);

    // Replaces the clock the random draws are seeded from (tests pin it).
    void setRandomClock(RandomSource::Clock clock) { random_ = RandomSource(std::move(clock)); }

    // The pool of the run: stop angles, one fewer after each quota-mode stop.
    void setPool(QList<int32_t> pool) { poolList_ = std::move(pool); }
    const QList<int32_t>& pool() const { return poolList_; }
    // Removes one entry equal to each value given (entries already drawn in an earlier run);
    // returns how many were found.
    int removeDrawn(const QList<int32_t>& drawn);
    // Puts an entry drawn from this pool back, when its draw was taken back.
    void returnEntry(int32_t entry) { poolList_.append(entry); }

    int32_t spinTarget() const { return SpinTarget; }
    void setSpinTarget(int32_t target) { SpinTarget = target; }
    int32_t poolIndex() const { return PoolIndex; }
    void setPoolIndex(int32_t index) { PoolIndex = index; }

    // The draw of a start in mode, once the spin is running. No-big-prize mode ("2") draws as
    // fully random mode, again while the target would stop on an excluded slot.
    void start(const QByteArray& mode, const ExcludedSlots& excluded = {});

    // Stop by key: a spin started this way turns with no stop rule until keyStop(), which
    // makes the draw of mode counted from the pointer's angle at the press: in modes "1" and
    // "2" the target as though the spin had started there, in mode "3" the pool line, which
    // then ends on its entry's slot at least 46 further turns on. Returns false when no draw
    // can be made (every slot excluded); the spin then has to end without a prize.
    void startAwaitingKey();
    bool awaitingKey() const { return awaitingKey_; }
    bool keyStop(const QByteArray& mode, const ExcludedSlots& excluded, long double angle);
    // The decision of one tick in mode, with angle the pointer's angle just set.
    TickStep tick(const QByteArray& mode, long double angle);
    // The stop the last tick decided, in two steps so that the pointer shows where it settled
    // even when its slot cannot be decided: settle() gives the pointer's final angle from the
    // angle it stopped at (quota mode: minus the entry, which leaves the pool); announce()
    // decides the slot of that angle, reports it through announced() and returns it.
    long double settle(long double angle);
    Announcement announce();
    // No entry is left to draw.
    bool poolUsedUp() const { return poolList_.isEmpty(); }

signals:
    void announced(const Announcement& announcement);

private:
    void drawPoolIndex();

    // The distance a quota-mode stop ends at: the entry itself, or where a key press put it.
    int64_t quotaDistance(int32_t entry) const;

    QList<int32_t> poolList_;
    int32_t SpinTarget = 0;
    int32_t PoolIndex = 0;
    uint32_t targetSeed_ = 0;
    uint32_t indexSeed_ = 0;
    RandomSource random_;
    // Where the count of the current spin began: 0, or the angle of the stop key's press.
    long double origin_ = 0;
    std::optional<int64_t> keyQuotaDistance_;
    bool awaitingKey_ = false;
    // The mode whose stop test fired on the last tick, and the settled stop.
    QByteArray stoppingMode_;
    Announcement settled_;
};
