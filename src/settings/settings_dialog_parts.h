#pragma once

#include <array>

class ColourPicker;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTabWidget;
class QWidget;
class QuantityBox;

// The settings dialog's controls, made and owned by the dialog, page by page.
struct SettingsDialogParts
{
    static constexpr int PrizeCount = 8;

    QWidget* buttonPanel = nullptr;
    QPushButton* saveButton = nullptr;
    QPushButton* discardButton = nullptr;
    QTabWidget* pageControl = nullptr;

    QWidget* layoutPage = nullptr;
    QGroupBox* titleGroup = nullptr;
    QLabel* titleTextLabel = nullptr;
    QLineEdit* titleEdit = nullptr;
    QLabel* titleSizeLabel = nullptr;
    QSpinBox* titleSizeSpinner = nullptr;
    QLabel* titleColorLabel = nullptr;
    ColourPicker* titleColorEdit = nullptr;
    QGroupBox* positionGroup = nullptr;
    QLabel* positionHintLabel = nullptr;
    QGroupBox* visibilityGroup = nullptr;
    QCheckBox* showPrizeListCheck = nullptr;
    QCheckBox* showResultsCheck = nullptr;
    QCheckBox* showCelebrationCheck = nullptr;
    QCheckBox* showPrizesLeftCheck = nullptr;
    QLabel* customWheelLabel = nullptr;
    QGroupBox* wheelGroup = nullptr;
    QCheckBox* wheelNamesCheck = nullptr;
    QCheckBox* wheelPicturesCheck = nullptr;

    QWidget* drawControlPage = nullptr;
    QGroupBox* stopModeGroup = nullptr;
    QRadioButton* stopByKeyRadio = nullptr;
    QRadioButton* stopAutoRadio = nullptr;
    QGroupBox* controlModeGroup = nullptr;
    QRadioButton* fullyRandomRadio = nullptr;
    QRadioButton* quotaRadio = nullptr;
    QLabel* quotaHintLabel = nullptr;
    QRadioButton* noBigPrizeRadio = nullptr;
    QWidget* excludedPrizePanel = nullptr;
    std::array<QCheckBox*, PrizeCount> excludedPrizeChecks{};
    QGroupBox* prizeGroup = nullptr;
    std::array<QLabel*, PrizeCount> prizeNameLabels{};
    std::array<QLineEdit*, PrizeCount> prizeNameEdits{};
    std::array<QuantityBox*, PrizeCount> quantityEdits{};
    QLabel* totalCaptionLabel = nullptr;
    QLabel* totalLabel = nullptr;
};
