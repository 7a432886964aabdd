#include "draw/prize_draw.h"

#include "draw/key_stop.h"
#include "draw/spin_rules.h"
#include "draw/target_draw.h"

namespace {
const QByteArray FullyRandom = "1";
const QByteArray NoBigPrize = "2";
const QByteArray Quota = "3";
} // namespace

PrizeDraw::PrizeDraw(QObject* parent) : QObject(parent) {}

bool PrizeDraw::hasStopRule(const QByteArray& mode)
{
    return mode == FullyRandom || mode == NoBigPrize || mode == Quota;
}

int PrizeDraw::removeDrawn(const QList<int32_t>& drawn)
{
    int found = 0;
    for (const int32_t entry : drawn) {
        const qsizetype at = poolList_.indexOf(entry);
        if (at >= 0) {
            poolList_.removeAt(at);
            ++found;
        }
    }
    return found;
}

void PrizeDraw::drawPoolIndex()
{
    random_.reseed();
    indexSeed_ = random_.seed();
    PoolIndex = static_cast<int32_t>(random_.below(static_cast<uint32_t>(poolList_.size())));
}

void PrizeDraw::start(const QByteArray& mode, const ExcludedSlots& excluded)
{
    origin_ = 0;
    keyQuotaDistance_.reset();
    awaitingKey_ = false;
    if (mode == FullyRandom || mode == NoBigPrize) {
        // Fully random mode excludes nothing, so it draws exactly once.
        const std::optional<TargetDraw> draw =
            drawSpinTarget(random_, mode == NoBigPrize ? excluded : ExcludedSlots());
        if (draw) {
            targetSeed_ = draw->seed;
            SpinTarget = draw->target;
        }
    }
    if (mode == Quota)
        drawPoolIndex();
}

void PrizeDraw::startAwaitingKey()
{
    origin_ = 0;
    keyQuotaDistance_.reset();
    awaitingKey_ = true;
}

bool PrizeDraw::keyStop(const QByteArray& mode, const ExcludedSlots& excluded, long double angle)
{
    awaitingKey_ = false;
    origin_ = angle;
    if (mode == FullyRandom || mode == NoBigPrize) {
        const std::optional<TargetDraw> draw =
            drawSpinTarget(random_, mode == NoBigPrize ? excluded : ExcludedSlots(), angle);
        if (!draw)
            return false;
        targetSeed_ = draw->seed;
        SpinTarget = draw->target;
    }
    if (mode == Quota && !poolList_.isEmpty()) {
        drawPoolIndex();
        keyQuotaDistance_ = quotaKeyStopDistance(poolList_[PoolIndex], angle);
    }
    return true;
}

int64_t PrizeDraw::quotaDistance(int32_t entry) const
{
    return keyQuotaDistance_ ? *keyQuotaDistance_ : entry;
}

TickStep PrizeDraw::tick(const QByteArray& mode, long double angle)
{
    TickStep step;
    stoppingMode_.clear();
    if (awaitingKey_) {
        // Turning until the key: no stop test, but a used-up pool and a mode without a
        // stop rule still end the spin.
        step.checksPool = mode == Quota;
        step.noStopRule = !hasStopRule(mode);
        return step;
    }
    if (mode == FullyRandom || mode == NoBigPrize) {
        step.stops = stopTestFires(SpinTarget - origin_, angle);
    } else if (mode == Quota) {
        // The index of an earlier spin may lie past the end of a pool that has shrunk.
        if (PoolIndex >= poolList_.size() && !poolList_.isEmpty())
            drawPoolIndex();
        if (PoolIndex < poolList_.size()) {
            const auto distance = static_cast<long double>(quotaDistance(poolList_[PoolIndex]));
            step.distance = distance + angle;
            step.stops = stopTestFires(distance, angle);
        }
        step.checksPool = true;
    } else {
        step.noStopRule = true;
    }
    if (step.stops)
        stoppingMode_ = mode;
    return step;
}

long double PrizeDraw::settle(long double angle)
{
    Announcement& a = settled_;
    a = Announcement();
    a.mode = stoppingMode_;
    if (stoppingMode_ == Quota) {
        a.drawn = poolList_[PoolIndex];
        a.seed = indexSeed_;
        a.angle = -static_cast<long double>(quotaDistance(a.drawn));
        poolList_.removeAt(PoolIndex);
    } else {
        a.drawn = SpinTarget;
        a.seed = targetSeed_;
        a.angle = angle;
    }
    stoppingMode_.clear();
    return a.angle;
}

Announcement PrizeDraw::announce()
{
    settled_.slot = prizeSlotForAngle(settled_.angle);
    emit announced(settled_);
    return settled_;
}
