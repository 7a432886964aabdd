#pragma once

#include "draw/draw_session.h"
#include "evening/no_output_notice.h"
#include "evening/operator_messages.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>
#include <array>
#include <optional>

class Journal;
class QTimer;
class SoundCues;

// The font the saved document sets the results in, as the results list shows them.
struct ResultsFont
{
    QString family;
    int points = 0;
};

// The evening, below every view of it: the draw session and the pool of the run, the prize
// names, the spin's timer and the pointer's angle, the sounds and the celebration in their
// order, the journal and carrying on an earlier run, taking a draw back, the results as saved
// and the close. Views ask through its slots and show what its signals tell; what it has to
// tell or ask the operator goes through the operator messages.
class DrawEvening : public QObject
{
    Q_OBJECT

public:
    explicit DrawEvening(QObject* parent = nullptr);
    ~DrawEvening() override;

    void setMessages(OperatorMessages messages) { messages_ = std::move(messages); }
    // The stage's speakers; without them the evening is silent.
    void setSounds(SoundCues* sounds) { sounds_ = sounds; }
    // Replaces the clock the random draws are seeded from (tests pin it).
    void setRandomClock(RandomSource::Clock clock) { session_.setRandomClock(std::move(clock)); }
    // Replaces the millisecond clock a key-stop spin is timed by (tests pass fake time).
    void setMillisecondClock(std::function<int64_t()> clock)
    {
        session_.setMillisecondClock(std::move(clock));
    }

    DrawSession& session() { return session_; }
    const DrawSession& session() const { return session_; }
    // The journal of this run, once opened.
    Journal* journal() const { return journal_; }
    // Ticks every 10 ms while the pointer spins.
    QTimer* spinTimer() const { return spinTimer_; }
    bool spinning() const;
    // The pointer has stopped on a prize and the fanfare, the celebration and what the spin
    // ends with wait for the stage to paint the stop.
    bool stopPending() const { return stopPending_; }

    // A stage that shows the pointer has the fanfare wait until it has painted the stop: the
    // evening emits stopToPaint() and goes on at stopPainted(). Without it, the evening goes
    // on at once.
    void setStopWaitsForPaint(bool wait) { stopWaitsForPaint_ = wait; }
    // Whether a notice that ends a spin with a prize waits while the celebration of that prize
    // is on; on by default, as the stage shows both.
    void setNoticesWaitForCelebration(bool wait) { noticesWaitForCelebration_ = wait; }
    long double pointerAngle() const { return angle_; }

    // Start-up, in this order: the pool of data/db.dat (a damaged line is told and left out),
    // the prize names, then the journal, which asks to carry on an earlier run left unsaved.
    void loadPool();
    void loadPrizeNames();
    void openJournal();
    // The stage's first frame is up: what start-up does not need runs now, the check of the
    // journal's chain and the question whether there is a sound output. Once a run.
    void firstFrameShown();

    // The prize names, line k - 1 for slot k, as data/奖品.txt holds them.
    const QStringList& prizeNames() const { return names_; }
    QString prizeName(int slot) const;
    // In quota mode, with the prizes left wanted: how many of each slot the pool still holds.
    std::optional<std::array<int, 8>> prizesLeft() const;
    // Whether a draw can be taken back now.
    bool canTakeBack() const;
    // What the journal and the sound are doing, for a view to tell the operator: the rows
    // recorded this run, the first failure to write one (null while none failed), and whether
    // the last clip found no sound output.
    int journalRows() const;
    const QString& journalFailure() const { return journalFailure_; }
    bool soundMissing() const { return soundMissing_; }

    // The start key: starts a spin, or stops one that stops by key.
    void startKey();
    // One tick of the spin (the timer calls it).
    void tick();
    // Asks, then takes the latest draw still given back.
    void takeBack();
    // Writes the results as the document and the workbook, records the save and says so; a
    // file that cannot be written is told.
    void saveResults(const ResultsFont& font);
    // Asks before the program closes; on Yes the journal records the end. True for Yes.
    bool confirmClose();
    // The settings dialog saved a new pool, or is ending the program.
    void newPoolSaved(const QByteArray& pool, const std::array<int32_t, 8>& quantities);
    void programEnding();
    // The stage's celebration of the last prize has faded.
    void celebrationEnded();
    // The stage has painted the stop that stopToPaint() announced.
    void stopPainted();

signals:
    void pointerTurned(long double angle);
    // Quota mode: how far the spin still has to go.
    void distanceToGo(long double distance);
    void spinStarted();
    void spinEnded();
    void prizeNamesChanged(const QStringList& names);
    // A result joined the list, announced now or carried on from an earlier run.
    void resultAdded(const DrawResult& result);
    void resultVoided(qsizetype index, const DrawResult& result);
    // The pool of the run changed: the prizes left may differ.
    void poolChanged();
    // The stage shows the prize large, in colour of the title.
    void celebrationDue(const QString& prize);
    // The pointer has stopped on a prize: the stage calls stopPainted() once it has painted it.
    void stopToPaint();
    void takeBackChanged(bool possible);
    void journalChanged();
    void soundChanged(bool missing);
    // The results are being written as the document, in red; then no longer.
    void savingStarted();
    void savingEnded();

private:
    template <typename Step> void guarded(Step&& step);
    void startSpin();
    void show(const SpinReport& report);
    void endWithoutPrize(const QString& notice);
    void stopping();
    void finishStop();
    void endSpin();
    void afterFirstFrame();
    void continueEarlierRun();
    void updateTakeBack();
    void notice(const QString& text);
    void noteSound(bool missing);

    OperatorMessages messages_;
    SoundCues* sounds_ = nullptr;
    DrawSession session_;
    QStringList names_;
    QTimer* spinTimer_;
    long double angle_ = 0;
    const QDateTime runStart_ = QDateTime::currentDateTime();
    Journal* journal_ = nullptr;
    bool stopWaitsForPaint_ = false;
    bool noticesWaitForCelebration_ = true;
    // Between a stop on a prize and the fanfare: the notice the stopping tick ended with.
    bool stopPending_ = false;
    // The result of the stop waiting for its paint, shown with the fanfare.
    std::optional<DrawResult> stopResult_;
    QString stopNotice_;
    // A celebration this evening started is on, and the notice held until it fades.
    bool celebrating_ = false;
    QString heldNotice_;
    bool firstFrameShown_ = false;
    bool afterFirstFrameDone_ = false;
    bool askingToContinue_ = false;
    // Tells once a run that the draw goes on without sound.
    NoOutputNotice noOutputNotice_;
    bool takeBackPossible_ = false;
    QString journalFailure_;
    bool soundMissing_ = false;
};
