#include "draw/draw_session.h"

#include "draw/draw_mode.h"
#include "draw/draw_texts.h"
#include "draw/key_stop.h"
#include "draw/spin_rules.h"

#include <chrono>

DrawSession::DrawSession(QObject* parent) : QObject(parent)
{
    msClock_ = [] {
        return static_cast<int64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                        std::chrono::steady_clock::now().time_since_epoch())
                                        .count());
    };
    connect(&draw_, &PrizeDraw::announced, this, [this](const Announcement& announcement) {
        DrawResult result;
        result.prize = names_ ? names_(announcement.slot) : QString();
        result.slot = announcement.slot;
        result.time = QDateTime::currentDateTime();
        result.draw = announcement;
        result.fromPool = parseDrawMode(announcement.mode) == DrawMode::Quota;
        emit announced(announcement, result);
        addResult(result);
    });
}

void DrawSession::setPool(QList<int32_t> entries, QByteArray poolHash)
{
    draw_.setPool(std::move(entries));
    poolHash_ = std::move(poolHash);
}

SpinSettings SpinSettings::fixed(const QByteArray& mode, const QByteArray& excluded,
                                 const QByteArray& stopMode)
{
    return {[mode] { return mode; }, [excluded] { return excluded; },
            [stopMode] { return stopMode; }};
}

ExcludedSlots DrawSession::excludedSlots(const QByteArray& mode, const SpinSettings& settings)
{
    return parseDrawMode(mode) == DrawMode::NoBigPrize ? ExcludedSlots::parse(settings.excluded())
                                                       : ExcludedSlots();
}

SpinPlan DrawSession::plan(const SpinSettings& settings)
{
    SpinPlan plan;
    plan.mode = settings.mode();
    // A mode with no stop rule would spin for ever.
    if (!PrizeDraw::hasStopRule(plan.mode)) {
        plan.refusal = InvalidModeText;
        return plan;
    }
    plan.excluded = excludedSlots(plan.mode, settings);
    if (plan.excluded.all()) {
        plan.refusal = KeepOnePrizeText;
        return plan;
    }
    plan.byKey = isKeyStopMode(settings.stopMode());
    return plan;
}

void DrawSession::start(const SpinPlan& plan)
{
    spinning_ = true;
    keyStop_ = plan.byKey;
    if (keyStop_) {
        spinStartMs_ = msClock_();
        draw_.startAwaitingKey();
    } else {
        draw_.start(plan.mode, plan.excluded);
    }
}

SpinReport DrawSession::pressKey(const SpinSettings& settings, long double angle)
{
    SpinReport report;
    report.angle = angle;
    // Only a key-stop spin listens, and only once the start press is well over.
    if (spinning_ && keyStop_ && draw_.awaitingKey() && keyPressStops(msClock_() - spinStartMs_))
        keyStop(settings.mode(), settings, angle, report);
    return report;
}

void DrawSession::keyStop(const QByteArray& mode, const SpinSettings& settings, long double angle,
                          SpinReport& report)
{
    if (!draw_.keyStop(mode, excludedSlots(mode, settings), angle))
        end(report, KeepOnePrizeText);
}

SpinReport DrawSession::tick(const SpinSettings& settings, long double angle)
{
    SpinReport report;
    report.angle = angle;
    const QByteArray mode = settings.mode();
    // Nobody pressed the key: the spin stops as though someone had.
    if (keyStop_ && draw_.awaitingKey() && keyStopTimedOut(msClock_() - spinStartMs_)) {
        keyStop(mode, settings, angle, report);
        if (report.ended())
            return report;
    }
    // Turn, then the mode's rule: the distance shown, a stop with its prize, the all-drawn
    // check, and last the end of a spin whose mode has no stop rule.
    report.angle = angle - SpinStep;
    const TickStep step = draw_.tick(mode, report.angle);
    report.distance = step.distance;
    if (step.stops) {
        spinning_ = false;
        emit stopping();
        report.angle = draw_.settle(report.angle);
        draw_.announce();
        report.prizeWon = true;
    }
    if (step.checksPool && draw_.poolUsedUp())
        end(report, AllDrawnText);
    if (step.noStopRule && spinning_)
        end(report, InvalidModeText);
    return report;
}

void DrawSession::end(SpinReport& report, const QString& notice)
{
    spinning_ = false;
    report.notice = notice;
}

void DrawSession::addResult(const DrawResult& result)
{
    results_.append(result);
    emit resultAdded(result);
}

void DrawSession::continueEarlierRun(const QList<EarlierWin>& wins)
{
    for (const EarlierWin& win : wins) {
        DrawResult result = win.result;
        bool ok = false;
        const int32_t entry = win.drawn.toInt(&ok);
        result.draw.mode = win.mode;
        result.draw.slot = result.slot;
        result.draw.drawn = ok ? entry : 0;
        // Only an entry this pool still holds leaves it, so taking the result back later
        // returns exactly what was taken.
        result.fromPool = ok && !result.voided && parseDrawMode(win.mode) == DrawMode::Quota &&
                          !poolHash_.isEmpty() && win.poolHash == poolHash_ &&
                          draw_.removeDrawn({entry}) == 1;
        addResult(result);
    }
}

std::optional<qsizetype> DrawSession::voidable() const
{
    return spinning_ ? std::nullopt : latestGiven(results_);
}

std::optional<qsizetype> DrawSession::voidLatest()
{
    const std::optional<qsizetype> index = voidable();
    if (!index)
        return index;
    DrawResult& result = results_[*index];
    result.voided = true;
    if (result.fromPool) {
        draw_.returnEntry(result.draw.drawn);
        result.fromPool = false;
    }
    emit resultVoided(*index, result);
    return index;
}
