#include "drawscreen/prize_draw.h"

#include "drawscreen/spin_rules.h"

namespace {
const QByteArray FullyRandom = "1";
const QByteArray Quota = "3";
} // namespace

PrizeDraw::PrizeDraw(QObject* parent) : QObject(parent) {}

bool PrizeDraw::hasStopRule(const QByteArray& mode)
{
    return mode == FullyRandom || mode == Quota;
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

void PrizeDraw::start(const QByteArray& mode)
{
    if (mode == FullyRandom) {
        random_.reseed();
        targetSeed_ = random_.seed();
        SpinTarget = SpinTargetBase + static_cast<int32_t>(random_.below(SpinTargetSpread));
    }
    if (mode == Quota)
        drawPoolIndex();
}

TickStep PrizeDraw::tick(const QByteArray& mode, long double angle)
{
    TickStep step;
    stoppingMode_.clear();
    if (mode == FullyRandom) {
        step.stops = stopTestFires(SpinTarget, angle);
    } else if (mode == Quota) {
        // The index of an earlier spin may lie past the end of a pool that has shrunk.
        if (PoolIndex >= poolList_.size() && !poolList_.isEmpty())
            drawPoolIndex();
        if (PoolIndex < poolList_.size()) {
            const int32_t entry = poolList_[PoolIndex];
            step.distance = entry + angle;
            step.stops = stopTestFires(entry, angle);
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
        a.angle = -static_cast<long double>(a.drawn);
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
