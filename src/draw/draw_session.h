#pragma once

#include "draw/draw_result.h"
#include "draw/excluded_slots.h"
#include "draw/prize_draw.h"
#include "draw/random_source.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>
#include <cstdint>
#include <functional>
#include <optional>

// An announcement of an earlier run that this run carries on, as the journal kept it.
struct EarlierWin
{
    DrawResult result;   // with draw.angle, draw.seed and voided as the journal kept them
    QByteArray mode;     // the control mode that made it
    QByteArray drawn;    // SpinTarget or the pool entry, as text
    QByteArray poolHash; // the db.dat hash its run started with; empty when not known
};

// Where a spin's settings come from. Each is read when the draw needs it, every tick for the
// mode: an operator may change the settings mid-spin, and the rule of the tick's mode applies.
struct SpinSettings
{
    std::function<QByteArray()> mode;     // control mode
    std::function<QByteArray()> excluded; // the prizes kept out in no-big-prize mode
    std::function<QByteArray()> stopMode;

    // Settings that never change.
    static SpinSettings fixed(const QByteArray& mode, const QByteArray& excluded = {},
                              const QByteArray& stopMode = {});
};

// How a spin starts, decided before anything moves.
struct SpinPlan
{
    QString refusal; // why no spin can start (a notice for the operator); null when one can
    QByteArray mode;
    ExcludedSlots excluded;
    bool byKey = false;
};

// What a tick or a key press did, for the screen to show.
struct SpinReport
{
    long double angle = 0;               // the pointer's angle now
    std::optional<long double> distance; // quota mode: still to go to the stop
    bool prizeWon = false;               // results().last() is the prize just announced
    QString notice;                      // the spin ended without a prize, telling this
    // The spin is over: a prize or a notice ended it.
    bool ended() const { return prizeWon || !notice.isNull(); }
};

// The evening's draw without any widget: the mode rules through PrizeDraw, the pool of the
// run, the order of a tick, the prizes kept out, stop by key, carrying on an earlier run and
// the list of results. The draw screen drives it from its timer and shows what it reports;
// the journal listens to announced().
class DrawSession : public QObject
{
    Q_OBJECT

public:
    explicit DrawSession(QObject* parent = nullptr);

    // Replaces the clock the random draws are seeded from (tests pin it).
    void setRandomClock(RandomSource::Clock clock) { draw_.setRandomClock(std::move(clock)); }
    // Replaces the millisecond clock a key-stop spin is timed by (tests pass fake time).
    void setMillisecondClock(std::function<int64_t()> clock) { msClock_ = std::move(clock); }
    // The prize name of a slot as the operator sees it, for the results.
    void setPrizeNames(std::function<QString(int slot)> names) { names_ = std::move(names); }

    // The pool of the run and the hash of the db.dat text it came from.
    void setPool(QList<int32_t> entries, QByteArray poolHash);
    const QByteArray& poolHash() const { return poolHash_; }
    PrizeDraw& draw() { return draw_; }
    const PrizeDraw& draw() const { return draw_; }

    // The prizes mode keeps out: those of the settings in no-big-prize mode, else none.
    static ExcludedSlots excludedSlots(const QByteArray& mode, const SpinSettings& settings);
    // Reads how a spin would start with these settings.
    static SpinPlan plan(const SpinSettings& settings);
    // Starts a spin by plan (one without a refusal) with the pointer upright. A key-stop spin
    // turns until pressKey().
    void start(const SpinPlan& plan);
    bool spinning() const { return spinning_; }
    bool stopsByKey() const { return keyStop_; }

    // The start key pressed during a spin at the pointer's angle: stops a key-stop spin once
    // the press that started it is over; otherwise nothing.
    SpinReport pressKey(const SpinSettings& settings, long double angle);
    // One tick of the spin timer, with the pointer at angle.
    SpinReport tick(const SpinSettings& settings, long double angle);

    // The results of the run, in the order they were announced.
    const QList<DrawResult>& results() const { return results_; }
    // The prizes given: the results not taken back. The counter shows this number.
    int prizesGiven() const { return ::prizesGiven(results_); }
    // Carries on an earlier run: its wins join the results, and the quota-mode entries it
    // drew from this very pool file and did not take back leave the pool again, so no prize
    // comes up more often over the evening than its quantity.
    void continueEarlierRun(const QList<EarlierWin>& wins);

    // The result a taking back would void: the latest still given; none during a spin.
    std::optional<qsizetype> voidable() const;
    // Takes back voidable(): the result is marked, and an entry it took out of the pool of
    // the run goes back in, so its prize can come up again. Answers the result taken back.
    std::optional<qsizetype> voidLatest();

signals:
    // The pointer is about to settle on a prize: the fanfare starts with it.
    void stopping();
    // A prize was announced: what the draw decided, with the result as listed.
    void announced(const Announcement& announcement, const DrawResult& result);
    // A result joined the list, announced now or carried on from an earlier run.
    void resultAdded(const DrawResult& result);
    // The result at index (0 for the first line) was taken back.
    void resultVoided(qsizetype index, const DrawResult& result);

private:
    void keyStop(const QByteArray& mode, const SpinSettings& settings, long double angle,
                 SpinReport& report);
    void end(SpinReport& report, const QString& notice);
    void addResult(const DrawResult& result);

    PrizeDraw draw_;
    QByteArray poolHash_;
    QList<DrawResult> results_;
    std::function<QString(int)> names_;
    std::function<int64_t()> msClock_;
    bool spinning_ = false;
    bool keyStop_ = false;
    int64_t spinStartMs_ = 0;
};
