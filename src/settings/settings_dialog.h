#pragma once

#include "draw/random_source.h"
#include "settings/line_list.h"
#include "settings/settings_dialog_parts.h"

#include <QDialog>
#include <QString>
#include <array>
#include <optional>

class ExcludedSlots;
struct SettingsSave;

// The settings dialog: event title, list visibility, control mode, prize names and the
// quantities of quota mode. It fills itself from the data files whenever it is shown. Both
// ways out end the program: "保存" writes the files and the prize pool first, "放弃" and the
// close box write nothing. The program restarts to take up the new files.
class SettingsDialog : public QDialog
{
    Q_OBJECT

public:
    static constexpr int PrizeCount = SettingsDialogParts::PrizeCount;

    explicit SettingsDialog(QWidget* parent = nullptr);

    // Fills the controls from data/opt.ini, data/奖品.txt and data/数量.txt. A step that fails
    // is reported and leaves its control as it was; the other steps still run.
    void FormShow();

    void saveButtonClick();
    void discardButtonClick();
    void quotaRadioClick();
    void fullyRandomRadioClick();
    void noBigPrizeRadioClick();
    void prizeNameEditChange(int index); // index 0 to 7: prize 1 to 8
    void quantityEditChange(int index);

    // The clock the prize pool's entries are seeded from; tests pin it.
    void setRandomClock(RandomSource::Clock clock) { randomClock_ = std::move(clock); }

    // The hidden line lists: the texts of the prize name and quantity files as edited.
    const LineList& nameLines() const { return nameLines_; }
    const LineList& quantityLines() const { return quantityLines_; }

    // The controls, page by page: the tests reach them here.
    const SettingsDialogParts& parts() const { return parts_; }

signals:
    // The dialog has been left by a successful save or by giving up; the program ends.
    void programEndRequested();
    // A save has written data/db.dat with pool, holding quantities entries of each slot.
    void poolSaved(const QByteArray& pool, const std::array<int32_t, 8>& quantities);

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void buildLayoutPage();
    void buildDrawControlPage();
    void buildPrizeGroup(QWidget* page);
    void buildButtonPanel();
    void fitNoBigPrizeRow();

    // Loads a prize file into lines; a failure is reported and leaves the lines empty.
    void loadPrizeFile(const QString& relativePath, LineList* lines,
                       std::optional<QString>* unreadable);
    void showTotal(int64_t total);
    SettingsSave prepareSave();
    // The prizes ticked to be kept out of no-big-prize mode.
    ExcludedSlots excludedSlots() const;
    QByteArray titleForSave() const;
    void endProgram();

    SettingsDialogParts parts_;
    LineList nameLines_;
    LineList quantityLines_;
    // The title as read, written back unchanged when the operator left it alone.
    QByteArray loadedTitle_;
    // Why a prize file that exists could not be read; a save would wipe what it holds.
    std::optional<QString> unreadableNames_;
    std::optional<QString> unreadableQuantities_;
    RandomSource::Clock randomClock_ = highResolutionClockLow32;
    int totalCentre_ = 0;
    bool ended_ = false;
};
