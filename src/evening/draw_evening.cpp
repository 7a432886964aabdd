#include "evening/draw_evening.h"

#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
#include "datafiles/data_files.h"
#include "datafiles/gbk.h"
#include "datafiles/settings_file.h"
#include "datafiles/settings_keys.h"
#include "datafiles/text_file.h"
#include "draw/draw_mode.h"
#include "draw/draw_texts.h"
#include "draw/prize_pool.h"
#include "draw/remaining_prizes.h"
#include "evening/sound_cues.h"
#include "export/results_rtf.h"
#include "export/results_xlsx.h"
#include "journal/journal.h"

#include <QColor>
#include <QTimer>
#include <utility>

namespace {

const QString RtfName = QStringLiteral("中奖信息.rtf");
const QString WorkbookName = QStringLiteral("中奖信息.xlsx");

// The spin's settings as the settings file holds them at each read.
SpinSettings currentSpinSettings()
{
    const auto key = [](const char* name) { return [name] { return SettingsFile().text(name); }; };
    return {key(SettingsKey::ControlMode), key(SettingsKey::ExcludedPrizes),
            key(SettingsKey::StopMode)};
}

} // namespace

DrawEvening::DrawEvening(QObject* parent) : QObject(parent), spinTimer_(new QTimer(this))
{
    spinTimer_->setInterval(10);
    spinTimer_->setTimerType(Qt::PreciseTimer);
    connect(spinTimer_, &QTimer::timeout, this, &DrawEvening::tick);
    // The results name each prize as the prize-name list shows it at the stop.
    session_.setPrizeNames([this](int slot) { return prizeName(slot); });
    connect(&session_, &DrawSession::stopping, this, &DrawEvening::stopping);
    // The frame of a stop shows the pointer at rest and nothing else: the new line, the
    // counter and the prizes left follow with the fanfare, a frame later, so that the tick
    // that stops costs what a turning one does.
    connect(&session_, &DrawSession::resultAdded, this, [this](const DrawResult& result) {
        if (stopPending_)
            stopResult_ = result;
        else
            emit resultAdded(result);
    });
    connect(&session_, &DrawSession::resultVoided, this,
            [this](qsizetype index, const DrawResult& result) {
                // "All drawn" no longer holds once a prize is back in the pool.
                heldNotice_ = QString();
                emit resultVoided(index, result);
                emit poolChanged();
                updateTakeBack();
            });
}

DrawEvening::~DrawEvening() = default;

template <typename Step> void DrawEvening::guarded(Step&& step)
{
    // A failure ends the step where it happened and goes to the standard error box; what the
    // step had done stays done.
    try {
        step();
    } catch (const std::exception& error) {
        if (messages_.error)
            messages_.error(errorMessageOf(error));
    }
}

void DrawEvening::notice(const QString& text)
{
    if (messages_.notice)
        messages_.notice(text);
}

bool DrawEvening::spinning() const
{
    return spinTimer_->isActive();
}

void DrawEvening::loadPool()
{
    const QByteArray text = loadTextFile(programFolder() + DataFile::Pool);
    const PoolText pool = parsePoolText(text);
    session_.setPool(pool.entries, sha256Hex(text));
    emit poolChanged();
    // A damaged line is reported once, here, and left out; the restore goes on.
    if (!pool.refusals.isEmpty() && messages_.error)
        messages_.error(pool.refusals.join('\n'));
}

void DrawEvening::loadPrizeNames()
{
    const QByteArray text = loadTextFile(programFolder() + DataFile::PrizeNames);
    QStringList names;
    for (const QByteArray& line : splitLines(text))
        names.append(fromGbk(line));
    names_ = names;
    emit prizeNamesChanged(names_);
}

QString DrawEvening::prizeName(int slot) const
{
    return names_.value(slot - 1);
}

std::optional<std::array<int, 8>> DrawEvening::prizesLeft() const
{
    const SettingsFile settings;
    if (parseDrawMode(settings.text(SettingsKey::ControlMode)) != DrawMode::Quota ||
        !SettingsKey::isOn(settings.text(SettingsKey::ShowPrizesLeft)))
        return std::nullopt;
    return remainingPerSlot(session_.draw().pool());
}

void DrawEvening::openJournal()
{
    if (journal_)
        return;
    journal_ = new Journal(programFolder() + JournalFileName, runStart_, this);
    connect(journal_, &Journal::writeFailed, this, [this](const QString& message) {
        journalFailure_ = message;
        emit journalChanged();
        if (messages_.error)
            messages_.error(message);
    });
    connect(journal_, &Journal::rowRecorded, this, &DrawEvening::journalChanged);
    connect(journal_, &Journal::modifiedLineFound, this,
            [this](int line) { notice(modifiedLineMessage(line)); });
    connect(&session_, &DrawSession::announced, journal_,
            [this](const Announcement& announcement, const DrawResult& result) {
                journal_->recordWin(announcement, result.prize, result.time);
            });
    connect(&session_, &DrawSession::resultVoided, journal_,
            [this](qsizetype index, const DrawResult& result) {
                journal_->recordVoid(result, index + 1);
            });
    journal_->recordStart(session_.poolHash(), session_.draw().pool().size());
    // The question's box runs its own loop: what waits for the first frame waits for the
    // answer too, so that no box comes up over the question.
    askingToContinue_ = true;
    continueEarlierRun();
    askingToContinue_ = false;
    if (firstFrameShown_)
        afterFirstFrame();
}

void DrawEvening::firstFrameShown()
{
    firstFrameShown_ = true;
    if (!askingToContinue_)
        afterFirstFrame();
}

void DrawEvening::afterFirstFrame()
{
    // Reading a long journal through would share the processors with the first frame.
    if (journal_)
        journal_->verifyInBackground();
    if (afterFirstFrameDone_)
        return;
    afterFirstFrameDone_ = true;
    // Opening the sound library takes tens of milliseconds: asked now, the first spin does
    // not wait for the answer, nor for the box.
    if (!sounds_)
        return;
    const bool missing = sounds_->probeOutputMissing();
    noteSound(missing);
    if (spinning() || stopPending_)
        noOutputNotice_.atStop(missing);
    else if (noOutputNotice_.atStartUp(missing))
        notice(NoSoundOutputText);
}

void DrawEvening::continueEarlierRun()
{
    const JournalTail& tail = journal_->tail();
    if (!tail.unsaved || tail.wins.isEmpty())
        return;
    if (!messages_.ask || !messages_.ask(ContinueQuestion.arg(tail.wins.size())))
        return;
    session_.continueEarlierRun(earlierWins(tail));
    journal_->recordContinue(tail.lastRun);
    emit poolChanged();
    updateTakeBack();
}

void DrawEvening::startKey()
{
    guarded([this] {
        // A stop whose fanfare has not started yet is still the spin in progress.
        if (stopPending_)
            return;
        if (!spinTimer_->isActive())
            startSpin();
        else // the start key again stops a key-stop spin
            show(session_.pressKey(currentSpinSettings(), angle_));
    });
}

void DrawEvening::startSpin()
{
    // The spin tells again what it ends with; the celebration it ends goes unheeded.
    heldNotice_ = QString();
    celebrating_ = false;
    const SpinPlan plan = DrawSession::plan(currentSpinSettings());
    if (!plan.refusal.isNull()) {
        notice(plan.refusal);
        return;
    }
    if (sounds_) {
        sounds_->playSpinning(plan.byKey);
        noteSound(sounds_->outputMissing());
        noOutputNotice_.atSpinStart(sounds_->outputMissing());
    }
    spinTimer_->start();
    emit spinStarted();
    angle_ = 0;
    emit pointerTurned(angle_);
    session_.start(plan);
    updateTakeBack();
}

void DrawEvening::tick()
{
    guarded([this] { show(session_.tick(currentSpinSettings(), angle_)); });
}

void DrawEvening::show(const SpinReport& report)
{
    angle_ = report.angle;
    emit pointerTurned(angle_);
    if (report.distance)
        emit distanceToGo(*report.distance);
    if (report.prizeWon) {
        // The fanfare opens a sound stream: it waits for the stop to be on the screen, and what
        // depends on whether it started waits with it.
        stopNotice_ = report.notice;
        if (stopWaitsForPaint_)
            emit stopToPaint();
        else
            finishStop();
        return;
    }
    if (!report.notice.isNull())
        endWithoutPrize(report.notice);
    if (report.ended())
        endSpin();
}

void DrawEvening::stopping()
{
    spinTimer_->stop();
    stopPending_ = true;
}

void DrawEvening::stopPainted()
{
    guarded([this] { finishStop(); });
}

void DrawEvening::finishStop()
{
    if (!stopPending_)
        return;
    stopPending_ = false;
    if (const std::optional<DrawResult> result = std::exchange(stopResult_, std::nullopt)) {
        emit poolChanged();
        emit resultAdded(*result);
    }
    const QString stopNotice = std::exchange(stopNotice_, QString());
    // The prize the pointer shows is recorded even when the fanfare could not play.
    QString fanfareError;
    try {
        if (sounds_) {
            sounds_->playFanfare();
            noteSound(sounds_->outputMissing());
            noOutputNotice_.atStop(sounds_->outputMissing());
        }
    } catch (const std::exception& error) {
        fanfareError = errorMessageOf(error);
    }
    if (!fanfareError.isNull()) {
        if (messages_.error)
            messages_.error(fanfareError);
    } else if (SettingsKey::isOn(SettingsFile().text(SettingsKey::ShowCelebration))) {
        celebrating_ = true;
        emit celebrationDue(session_.results().last().prize);
    }
    if (!stopNotice.isNull()) {
        // Over the celebration the notice would hide the prize just won.
        if (celebrating_ && noticesWaitForCelebration_)
            heldNotice_ = stopNotice;
        else
            notice(stopNotice);
    }
    endSpin();
}

void DrawEvening::endSpin()
{
    updateTakeBack();
    emit spinEnded();
    if (noOutputNotice_.atSpinEnd())
        notice(NoSoundOutputText);
}

void DrawEvening::endWithoutPrize(const QString& text)
{
    spinTimer_->stop();
    // The spinning sound of a key-stop spin loops: it ends with the spin.
    if (sounds_)
        sounds_->stopLooping();
    notice(text);
}

void DrawEvening::celebrationEnded()
{
    celebrating_ = false;
    const QString held = std::exchange(heldNotice_, QString());
    if (!held.isNull())
        notice(held);
}

void DrawEvening::noteSound(bool missing)
{
    if (missing == soundMissing_)
        return;
    soundMissing_ = missing;
    emit soundChanged(missing);
}

int DrawEvening::journalRows() const
{
    return journal_ ? journal_->rowsRecorded() : 0;
}

bool DrawEvening::canTakeBack() const
{
    return !spinTimer_->isActive() && !stopPending_ && session_.voidable().has_value();
}

void DrawEvening::updateTakeBack()
{
    const bool possible = canTakeBack();
    if (possible == takeBackPossible_)
        return;
    takeBackPossible_ = possible;
    emit takeBackChanged(possible);
}

void DrawEvening::takeBack()
{
    guarded([this] {
        const std::optional<qsizetype> index =
            spinTimer_->isActive() || stopPending_ ? std::nullopt : session_.voidable();
        if (!index || !messages_.ask)
            return;
        const DrawResult& result = session_.results()[*index];
        if (!messages_.ask(VoidQuestion.arg(QString::number(*index + 1), result.prize)))
            return;
        // The question's own loop ran the timers: only the draw it named is taken back.
        if (!spinTimer_->isActive() && session_.voidable() == index)
            session_.voidLatest();
    });
}

void DrawEvening::saveResults(const ResultsFont& font)
{
    emit savingStarted();
    try {
        QStringList lines;
        for (const DrawResult& result : session_.results())
            lines.append(resultLine(result));
        saveTextFile(programFolder() + RtfName,
                     resultsRtf(lines, font.family, font.points, QColor(255, 0, 0)));
        saveResultsWorkbook(programFolder() + WorkbookName, session_.results());
    } catch (const std::exception& error) {
        emit savingEnded();
        if (messages_.error)
            messages_.error(errorMessageOf(error));
        return;
    }
    emit savingEnded();
    if (journal_)
        journal_->recordSave({RtfName, WorkbookName});
    notice(SavedText);
}

bool DrawEvening::confirmClose()
{
    if (!messages_.ask || !messages_.ask(CloseQuestion))
        return false;
    if (journal_)
        journal_->recordExit();
    return true;
}

void DrawEvening::newPoolSaved(const QByteArray& pool, const std::array<int32_t, 8>& quantities)
{
    if (journal_)
        journal_->recordNewPool(sha256Hex(pool), quantities);
}

void DrawEvening::programEnding()
{
    if (journal_)
        journal_->recordExit();
}
