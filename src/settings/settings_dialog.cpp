#include "settings/settings_dialog.h"

#include "datafiles/settings_keys.h"
#include "ui/message_boxes.h"
#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
#include "datafiles/data_files.h"
#include "draw/excluded_slots.h"
#include "datafiles/gbk.h"
#include "datafiles/integer_conversion.h"
#include "datafiles/settings_file.h"
#include "datafiles/text_file.h"
#include "draw/remaining_prizes.h"
#include "settings/colour_picker.h"
#include "draw/draw_mode.h"
#include "draw/draw_texts.h"
#include "draw/prize_pool.h"
#include "settings/quantity_box.h"
#include "settings/settings_save.h"
#include "settings/settings_texts.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFileInfo>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

// The window's outer size; the client area is what is left inside the frame.
constexpr int OuterWidth = 721;
constexpr int OuterHeight = 551;
constexpr int ClientWidth = 713;
constexpr int ClientHeight = 524;
constexpr int ButtonPanelHeight = 57;

constexpr int PrizeRowTops[SettingsDialog::PrizeCount] = {35, 64, 94, 124, 153, 183, 213, 243};
constexpr int PrizeLabelTops[SettingsDialog::PrizeCount] = {39, 68, 97, 127, 156, 186, 215, 245};

constexpr int NoBigPrizeGap = 6;
constexpr int ExcludedPanelGap = 8;
constexpr int ExcludedCheckGap = 3;
constexpr int TotalLabelLeft = 576;
constexpr int TotalLabelTop = 113;

template <typename Widget>
Widget* place(Widget* widget, int left, int top, int width = -1, int height = -1)
{
    const QSize hint = widget->sizeHint();
    widget->setGeometry(left, top, width < 0 ? hint.width() : width,
                        height < 0 ? hint.height() : height);
    return widget;
}

QLabel* label(const QString& text, QWidget* parent, int left, int top)
{
    return place(new QLabel(text, parent), left, top);
}

QGroupBox* group(const QString& title, QWidget* parent, int height)
{
    auto* box = new QGroupBox(title, parent);
    if (height > 0)
        box->setFixedHeight(height);
    return box;
}

void setTextColour(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::WindowText, colour);
    widget->setPalette(palette);
}

} // namespace

SettingsDialog::SettingsDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint)
{
    setWindowTitle(QStringLiteral("系统设置"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    setFixedSize(ClientWidth, ClientHeight);

    parts_.pageControl = new QTabWidget(this);
    parts_.pageControl->setGeometry(0, 0, ClientWidth, ClientHeight - ButtonPanelHeight);
    buildLayoutPage();
    buildDrawControlPage();
    parts_.pageControl->setCurrentWidget(parts_.drawControlPage);
    buildButtonPanel();
}

void SettingsDialog::buildLayoutPage()
{
    parts_.layoutPage = new QWidget;
    parts_.pageControl->addTab(parts_.layoutPage, QStringLiteral("名称位置设置"));
    auto* column = new QVBoxLayout(parts_.layoutPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    parts_.titleGroup = group(QStringLiteral("标题设置"), parts_.layoutPage, 97);
    parts_.titleTextLabel = label(QStringLiteral("名称："), parts_.titleGroup, 16, 24);
    parts_.titleEdit = place(new QLineEdit(parts_.titleGroup), 62, 20, 631, 21);
    parts_.titleSizeLabel = label(QStringLiteral("大小："), parts_.titleGroup, 16, 64);
    parts_.titleSizeSpinner = new QSpinBox(parts_.titleGroup);
    parts_.titleSizeSpinner->setRange(0, 100);
    parts_.titleSizeSpinner->setSingleStep(1);
    place(parts_.titleSizeSpinner, 80, 56, 65, 24);
    parts_.titleColorLabel = label(QStringLiteral("颜色："), parts_.titleGroup, 194, 61);
    parts_.titleColorEdit = place(new ColourPicker(parts_.titleGroup), 248, 56, 446, 21);
    column->addWidget(parts_.titleGroup);

    parts_.positionGroup = group(QStringLiteral("显示位置设置"), parts_.layoutPage, 64);
    parts_.positionHintLabel =
        place(new QLabel(QStringLiteral(
                             "请用鼠标放置在活动标题（或转盘指针、数字奖品图片、或奖品文字列表）上"
                             "，按住拖动到需要的位置放开即可。"),
                         parts_.positionGroup),
              8, 24, 697, 13);
    column->addWidget(parts_.positionGroup);

    parts_.visibilityGroup =
        group(QStringLiteral("奖品名称列表、摇奖结果显示隐藏控制"), parts_.layoutPage, 105);
    parts_.showPrizeListCheck = place(
        new QCheckBox(QStringLiteral("显示奖品名称列表"), parts_.visibilityGroup), 11, 27, 161, 17);
    parts_.showResultsCheck = place(
        new QCheckBox(QStringLiteral("显示中奖结果"), parts_.visibilityGroup), 198, 26, 137, 17);
    parts_.showCelebrationCheck = place(
        new QCheckBox(QStringLiteral("显示中奖特效"), parts_.visibilityGroup), 361, 26, 137, 17);
    parts_.showPrizesLeftCheck = place(
        new QCheckBox(QStringLiteral("显示剩余数量"), parts_.visibilityGroup), 524, 26, 161, 17);
    parts_.customWheelLabel =
        new QLabel(QStringLiteral("如果默认转盘不适合你的需求，你可以联系我们有偿制作更"
                                  "多分块的转盘，这样你就可以隐藏奖品名称列表和中奖结"
                                  "果（取消选中即可）。"),
                   parts_.visibilityGroup);
    parts_.customWheelLabel->setWordWrap(true);
    place(parts_.customWheelLabel, 8, 56, 689, 25);
    column->addWidget(parts_.visibilityGroup);

    parts_.wheelGroup = group(QStringLiteral("转盘设置"), parts_.layoutPage, 57);
    parts_.wheelNamesCheck = place(
        new QCheckBox(QStringLiteral("在转盘上显示奖品名称"), parts_.wheelGroup), 11, 27, 197, 17);
    parts_.wheelPicturesCheck = place(
        new QCheckBox(QStringLiteral("在转盘上显示奖品图片"), parts_.wheelGroup), 234, 27, 197, 17);
    column->addWidget(parts_.wheelGroup);
    column->addStretch(1);
}

void SettingsDialog::buildDrawControlPage()
{
    parts_.drawControlPage = new QWidget;
    parts_.pageControl->addTab(parts_.drawControlPage,
                               QStringLiteral("摇奖控制（必须是用软件的默认转盘）"));
    auto* column = new QVBoxLayout(parts_.drawControlPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Stop by key lets a guest end the spin; automatic stop is the old behaviour.
    parts_.stopModeGroup = group(QStringLiteral("停止模式"), parts_.drawControlPage, 57);
    parts_.stopByKeyRadio =
        place(new QRadioButton(QStringLiteral("按键停止"), parts_.stopModeGroup), 8, 24, 81, 17);
    parts_.stopAutoRadio =
        place(new QRadioButton(QStringLiteral("自动停止"), parts_.stopModeGroup), 112, 24, 81, 17);
    parts_.stopAutoRadio->setChecked(true);
    auto* stopModes = new QButtonGroup(this);
    stopModes->addButton(parts_.stopByKeyRadio);
    stopModes->addButton(parts_.stopAutoRadio);
    column->addWidget(parts_.stopModeGroup);

    parts_.controlModeGroup = group(QStringLiteral("控制模式"), parts_.drawControlPage, 96);
    parts_.fullyRandomRadio = place(
        new QRadioButton(QStringLiteral("完全随机（可能会出现大奖）"), parts_.controlModeGroup), 8,
        24, 209, 17);
    parts_.fullyRandomRadio->setChecked(true);
    parts_.quotaRadio =
        place(new QRadioButton(QStringLiteral("按中奖几率出现（注意总数,如果不想出现某奖品"
                                              "请在数量栏填写0，其余的想出多少就填写多少）"),
                               parts_.controlModeGroup),
              8, 48, 625, 17);
    parts_.quotaHintLabel =
        place(new QLabel(QStringLiteral("这里也是在设定的数据里随机 从而可以避免大奖的产生"),
                         parts_.controlModeGroup),
              26, 70, 559, 13);
    setTextColour(parts_.quotaHintLabel, Qt::red);
    // No-big-prize mode on the first row beside fully random mode, its eight boxes after it:
    // the group keeps its height, so the names and quantities below keep their room.
    parts_.noBigPrizeRadio = place(
        new QRadioButton(QStringLiteral("不出现大奖（选中不出现的奖品）"), parts_.controlModeGroup),
        parts_.fullyRandomRadio->geometry().right() + 1 + NoBigPrizeGap, 24);
    parts_.noBigPrizeRadio->resize(parts_.noBigPrizeRadio->sizeHint().width(), 17);
    parts_.excludedPrizePanel = new QWidget(parts_.controlModeGroup);
    int checkLeft = 0;
    for (int i = 0; i < PrizeCount; ++i) {
        parts_.excludedPrizeChecks[i] =
            place(new QCheckBox(QString::number(i + 1), parts_.excludedPrizePanel), checkLeft, 0);
        parts_.excludedPrizeChecks[i]->setEnabled(false);
        checkLeft += parts_.excludedPrizeChecks[i]->width() + ExcludedCheckGap;
    }
    const int panelHeight = parts_.excludedPrizeChecks[0]->height();
    parts_.excludedPrizePanel->setGeometry(
        parts_.noBigPrizeRadio->geometry().right() + 1 + ExcludedPanelGap,
        24 + (17 - panelHeight) / 2, checkLeft - ExcludedCheckGap, panelHeight);
    auto* controlModes = new QButtonGroup(this);
    controlModes->addButton(parts_.fullyRandomRadio);
    controlModes->addButton(parts_.quotaRadio);
    controlModes->addButton(parts_.noBigPrizeRadio);
    connect(parts_.quotaRadio, &QRadioButton::toggled, this, &SettingsDialog::quotaRadioClick);
    connect(parts_.fullyRandomRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            fullyRandomRadioClick();
    });
    connect(parts_.noBigPrizeRadio, &QRadioButton::toggled, this, [this](bool on) {
        // The boxes mean something only while their choice is selected.
        for (QCheckBox* check : parts_.excludedPrizeChecks)
            check->setEnabled(on);
        if (on)
            noBigPrizeRadioClick();
    });
    column->addWidget(parts_.controlModeGroup);

    buildPrizeGroup(parts_.drawControlPage);
    column->addWidget(parts_.prizeGroup, 1);
    // Keeps the choices at the top while the prize group is hidden.
    column->addStretch(0);
}

void SettingsDialog::buildPrizeGroup(QWidget* page)
{
    parts_.prizeGroup =
        new QGroupBox(QStringLiteral("设置奖品名称和数量（转盘中顶部为奖品1，按顺时针方向"
                                     "奖品依次为2,3,4,5,6,7,8） "),
                      page);
    for (int i = 0; i < PrizeCount; ++i) {
        parts_.prizeNameLabels[i] =
            place(new QLabel(QStringLiteral("奖品%1名称：").arg(i + 1), parts_.prizeGroup), 61,
                  PrizeLabelTops[i], 66);
        parts_.prizeNameEdits[i] =
            place(new QLineEdit(parts_.prizeGroup), 134, PrizeRowTops[i], 289, 21);
        parts_.quantityEdits[i] =
            place(new QuantityBox(parts_.prizeGroup), 437, PrizeRowTops[i], 47, 21);
        // Wider only where the font would cut off "1000".
        parts_.quantityEdits[i]->resize(parts_.quantityEdits[i]->widthShowingMaximum(47), 21);
        connect(parts_.prizeNameEdits[i], &QLineEdit::textChanged, this,
                [this, i] { prizeNameEditChange(i); });
        connect(parts_.quantityEdits[i], &QuantityBox::textChanged, this,
                [this, i] { quantityEditChange(i); });
    }
    for (int i = 1; i < PrizeCount; ++i)
        setTabOrder(parts_.prizeNameEdits[i - 1], parts_.prizeNameEdits[i]);
    setTabOrder(parts_.prizeNameEdits[PrizeCount - 1], parts_.quantityEdits[0]);
    for (int i = 1; i < PrizeCount; ++i)
        setTabOrder(parts_.quantityEdits[i - 1], parts_.quantityEdits[i]);

    parts_.totalCaptionLabel =
        place(new QLabel(QStringLiteral("合计数量："), parts_.prizeGroup), 520, 96, 68, 13);
    parts_.totalLabel = new QLabel(QStringLiteral("0"), parts_.prizeGroup);
    QFont totalFont = parts_.totalLabel->font();
    totalFont.setBold(true);
    totalFont.setPixelSize(40);
    parts_.totalLabel->setFont(totalFont);
    parts_.totalLabel->setAlignment(Qt::AlignCenter);
    setTextColour(parts_.totalLabel, Qt::red);
    place(parts_.totalLabel, TotalLabelLeft, TotalLabelTop);
    // A growing total stays centred where the first one stood.
    totalCentre_ = TotalLabelLeft + parts_.totalLabel->width() / 2;
    parts_.prizeGroup->hide();
}

void SettingsDialog::buildButtonPanel()
{
    parts_.buttonPanel = new QWidget(this);
    parts_.buttonPanel->setGeometry(0, ClientHeight - ButtonPanelHeight, ClientWidth,
                                    ButtonPanelHeight);
    parts_.saveButton =
        place(new QPushButton(QStringLiteral("保存"), parts_.buttonPanel), 247, 16, 75, 25);
    parts_.discardButton =
        place(new QPushButton(QStringLiteral("放弃"), parts_.buttonPanel), 367, 16, 75, 25);
    // Enter in a field must not save and end the program.
    parts_.saveButton->setAutoDefault(false);
    parts_.discardButton->setAutoDefault(false);
    connect(parts_.saveButton, &QPushButton::clicked, this, &SettingsDialog::saveButtonClick);
    connect(parts_.discardButton, &QPushButton::clicked, this, &SettingsDialog::discardButtonClick);
}

void SettingsDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    if (const QScreen* s = screen())
        move(s->availableGeometry().center() - QPoint(OuterWidth / 2, OuterHeight / 2));
    fitNoBigPrizeRow();
    FormShow();
}

void SettingsDialog::fitNoBigPrizeRow()
{
    // Where the style draws wider boxes (Windows), the row runs past the group; fully random
    // mode then gives up the room beyond its text, as much as the row needs.
    const int rowEnd = parts_.controlModeGroup->width() - parts_.fullyRandomRadio->x();
    const int over = parts_.excludedPrizePanel->geometry().right() + 1 - rowEnd;
    const int spare =
        parts_.fullyRandomRadio->width() - parts_.fullyRandomRadio->sizeHint().width();
    const int shift = qBound(0, over, spare);
    if (shift == 0)
        return;
    parts_.fullyRandomRadio->resize(parts_.fullyRandomRadio->width() - shift,
                                    parts_.fullyRandomRadio->height());
    parts_.noBigPrizeRadio->move(parts_.noBigPrizeRadio->pos() - QPoint(shift, 0));
    parts_.excludedPrizePanel->move(parts_.excludedPrizePanel->pos() - QPoint(shift, 0));
}

void SettingsDialog::keyPressEvent(QKeyEvent* event)
{
    // Escape would give up every edit and end the program; only "放弃" and the close box do.
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void SettingsDialog::FormShow()
{
    const SettingsFile settings;
    runHandler(this, [&] {
        loadedTitle_ = settings.text(SettingsKey::TitleText);
        parts_.titleEdit->setText(fromGbk(loadedTitle_));
    });
    runHandler(
        this, [&] { parts_.titleSizeSpinner->setValue(settings.integer(SettingsKey::TitleSize)); });
    runHandler(this, [&] {
        parts_.titleColorEdit->setColorValue(settings.integer(SettingsKey::TitleColour));
    });
    runHandler(this, [&] {
        if (parseStopMode(settings.text(SettingsKey::StopMode)) == StopMode::ByKey)
            parts_.stopByKeyRadio->setChecked(true);
        if (settings.text(SettingsKey::StopMode) == stopModeText(StopMode::Automatic))
            parts_.stopAutoRadio->setChecked(true);
    });
    runHandler(this, [&] {
        if (parseDrawMode(settings.text(SettingsKey::ControlMode)) == DrawMode::FullyRandom)
            parts_.fullyRandomRadio->setChecked(true);
        if (parseDrawMode(settings.text(SettingsKey::ControlMode)) == DrawMode::NoBigPrize)
            parts_.noBigPrizeRadio->setChecked(true);
        if (parseDrawMode(settings.text(SettingsKey::ControlMode)) == DrawMode::Quota)
            parts_.quotaRadio->setChecked(true);
    });
    runHandler(this, [&] {
        const ExcludedSlots excluded =
            ExcludedSlots::parse(settings.text(SettingsKey::ExcludedPrizes));
        for (int i = 0; i < PrizeCount; ++i)
            parts_.excludedPrizeChecks[i]->setChecked(excluded.contains(i + 1));
    });
    runHandler(this, [&] {
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowPrizeList)))
            parts_.showPrizeListCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowResults)))
            parts_.showResultsCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowCelebration)))
            parts_.showCelebrationCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowPrizesLeft)))
            parts_.showPrizesLeftCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::WheelNames)))
            parts_.wheelNamesCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::WheelPictures)))
            parts_.wheelPicturesCheck->setChecked(true);
    });

    loadPrizeFile(DataFile::PrizeNames, &nameLines_, &unreadableNames_);
    for (int i = 0; i < PrizeCount; ++i)
        parts_.prizeNameEdits[i]->setText(fromGbk(nameLines_.line(i)));
    loadPrizeFile(DataFile::Quantities, &quantityLines_, &unreadableQuantities_);
    for (int i = 0; i < PrizeCount; ++i)
        parts_.quantityEdits[i]->setText(fromGbk(quantityLines_.line(i)));
}

void SettingsDialog::loadPrizeFile(const QString& relativePath, LineList* lines,
                                   std::optional<QString>* unreadable)
{
    const QString path = programFolder() + relativePath;
    unreadable->reset();
    try {
        lines->setText(loadTextFile(path));
    } catch (const std::exception& error) {
        const QString message = errorMessageOf(error);
        showErrorBox(this, message);
        lines->setText(QByteArray());
        // A missing file holds nothing to lose; one that is there but unreadable would be
        // overwritten with the empty fields.
        if (QFileInfo::exists(path))
            *unreadable = message;
    }
}

void SettingsDialog::prizeNameEditChange(int index)
{
    const QString text = parts_.prizeNameEdits[index]->text();
    // An untouched line keeps its bytes, even those that are not valid GBK.
    if (fromGbk(nameLines_.line(index)) != text)
        nameLines_.setLine(index, toGbk(text));
}

void SettingsDialog::quantityEditChange(int index)
{
    int64_t total = 0;
    for (QuantityBox* box : parts_.quantityEdits) {
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
        total += quantityValue(box->text());
    }
    showTotal(total);
    const QString text = parts_.quantityEdits[index]->text();
    if (fromGbk(quantityLines_.line(index)) != text)
        quantityLines_.setLine(index, toGbk(text));
}

void SettingsDialog::showTotal(int64_t total)
{
    parts_.totalLabel->setText(QString::number(total));
    parts_.totalLabel->adjustSize();
    parts_.totalLabel->move(totalCentre_ - parts_.totalLabel->width() / 2, TotalLabelTop);
}

void SettingsDialog::quotaRadioClick()
{
    parts_.prizeGroup->setVisible(parts_.quotaRadio->isChecked());
}

void SettingsDialog::fullyRandomRadioClick()
{
    parts_.prizeGroup->hide();
}

void SettingsDialog::noBigPrizeRadioClick()
{
    parts_.prizeGroup->hide();
}

ExcludedSlots SettingsDialog::excludedSlots() const
{
    ExcludedSlots excluded;
    for (int i = 0; i < PrizeCount; ++i)
        excluded.set(i + 1, parts_.excludedPrizeChecks[i]->isChecked());
    return excluded;
}

void SettingsDialog::saveButtonClick()
{
    // Keeping every prize out would leave the draw screen nothing to give.
    if (parts_.noBigPrizeRadio->isChecked() && excludedSlots().all()) {
        showNoticeBox(this, KeepOnePrizeText);
        return;
    }
    SettingsSave save;
    try {
        save = prepareSave();
        save.write(programFolder());
    } catch (const std::exception& error) {
        showNoticeBox(this, SaveFailedPrefix + errorMessageOf(error));
        return;
    }
    emit poolSaved(save.pool, save.poolQuantities);
    showNoticeBox(this, SavedRestartText);
    endProgram();
    accept();
}

SettingsSave SettingsDialog::prepareSave()
{
    if (unreadableNames_)
        throw AppError(*unreadableNames_);
    if (unreadableQuantities_)
        throw AppError(*unreadableQuantities_);

    SettingsSave save;
    save.titleText = titleForSave();
    for (int i = 0; i < PrizeCount; ++i) {
        const QString text = parts_.prizeNameEdits[i]->text();
        if (fromGbk(nameLines_.line(i)) == text)
            continue;
        if (const auto bad = firstNonGbkCharacter(text))
            throw AppError(UnsavableNamePrefix + *bad);
    }
    save.titleColor = parts_.titleColorEdit->colorValue();
    save.titleSize = parts_.titleSizeSpinner->value();
    save.stopMode =
        stopModeText(parts_.stopByKeyRadio->isChecked() ? StopMode::ByKey : StopMode::Automatic);
    save.controlMode = drawModeText(parts_.quotaRadio->isChecked()        ? DrawMode::Quota
                                    : parts_.noBigPrizeRadio->isChecked() ? DrawMode::NoBigPrize
                                                                          : DrawMode::FullyRandom);
    save.excludedSlots = excludedSlots().text();
    save.showPrizeList = parts_.showPrizeListCheck->isChecked();
    save.showResults = parts_.showResultsCheck->isChecked();
    save.showCelebration = parts_.showCelebrationCheck->isChecked();
    save.showPrizesLeft = parts_.showPrizesLeftCheck->isChecked();
    save.wheelNames = parts_.wheelNamesCheck->isChecked();
    save.wheelPictures = parts_.wheelPicturesCheck->isChecked();
    save.prizeNames = nameLines_.text();
    save.quantities = quantityLines_.text();
    if (parts_.quotaRadio->isChecked()) {
        // Every quantity must convert before the first file is written.
        PrizeQuantities quantities{};
        for (int i = 0; i < PrizeCount; ++i)
            quantities[i] = parseInteger(toGbk(parts_.quantityEdits[i]->text()));
        save.pool = makePoolFile(quantities, RandomSource(randomClock_));
        for (int i = 0; i < PrizeCount; ++i)
            save.poolQuantities[i] = std::max(0, quantities[i]);
    }
    return save;
}

QByteArray SettingsDialog::titleForSave() const
{
    const QString text = parts_.titleEdit->text();
    if (text == fromGbk(loadedTitle_))
        return trimmedTitle(loadedTitle_);
    if (const auto bad = firstNonGbkCharacter(text))
        throw AppError(UnsavableTitlePrefix + *bad);
    return trimmedTitle(toGbk(text));
}

void SettingsDialog::discardButtonClick()
{
    reject();
}

void SettingsDialog::reject()
{
    endProgram();
    QDialog::reject();
}

void SettingsDialog::endProgram()
{
    if (ended_)
        return;
    ended_ = true;
    emit programEndRequested();
}
