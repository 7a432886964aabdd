#include "settings/settings_dialog.h"

#include "datafiles/settings_keys.h"
#include "ui/message_boxes.h"
#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
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

    pageControl = new QTabWidget(this);
    pageControl->setGeometry(0, 0, ClientWidth, ClientHeight - ButtonPanelHeight);
    buildLayoutPage();
    buildDrawControlPage();
    pageControl->setCurrentWidget(drawControlPage);
    buildButtonPanel();
}

void SettingsDialog::buildLayoutPage()
{
    layoutPage = new QWidget;
    pageControl->addTab(layoutPage, QStringLiteral("名称位置设置"));
    auto* column = new QVBoxLayout(layoutPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    titleGroup = group(QStringLiteral("标题设置"), layoutPage, 97);
    titleTextLabel = label(QStringLiteral("名称："), titleGroup, 16, 24);
    titleEdit = place(new QLineEdit(titleGroup), 62, 20, 631, 21);
    titleSizeLabel = label(QStringLiteral("大小："), titleGroup, 16, 64);
    titleSizeSpinner = new QSpinBox(titleGroup);
    titleSizeSpinner->setRange(0, 100);
    titleSizeSpinner->setSingleStep(1);
    place(titleSizeSpinner, 80, 56, 65, 24);
    titleColorLabel = label(QStringLiteral("颜色："), titleGroup, 194, 61);
    titleColorEdit = place(new ColourPicker(titleGroup), 248, 56, 446, 21);
    column->addWidget(titleGroup);

    positionGroup = group(QStringLiteral("显示位置设置"), layoutPage, 64);
    positionHintLabel =
        place(new QLabel(QStringLiteral(
                             "请用鼠标放置在活动标题（或转盘指针、数字奖品图片、或奖品文字列表）上"
                             "，按住拖动到需要的位置放开即可。"),
                         positionGroup),
              8, 24, 697, 13);
    column->addWidget(positionGroup);

    visibilityGroup = group(QStringLiteral("奖品名称列表、摇奖结果显示隐藏控制"), layoutPage, 105);
    showPrizeListCheck =
        place(new QCheckBox(QStringLiteral("显示奖品名称列表"), visibilityGroup), 11, 27, 161, 17);
    showResultsCheck =
        place(new QCheckBox(QStringLiteral("显示中奖结果"), visibilityGroup), 198, 26, 137, 17);
    showCelebrationCheck =
        place(new QCheckBox(QStringLiteral("显示中奖特效"), visibilityGroup), 361, 26, 137, 17);
    showPrizesLeftCheck =
        place(new QCheckBox(QStringLiteral("显示剩余数量"), visibilityGroup), 524, 26, 161, 17);
    customWheelLabel =
        new QLabel(QStringLiteral("如果默认转盘不适合你的需求，你可以联系我们有偿制作更"
                                  "多分块的转盘，这样你就可以隐藏奖品名称列表和中奖结"
                                  "果（取消选中即可）。"),
                   visibilityGroup);
    customWheelLabel->setWordWrap(true);
    place(customWheelLabel, 8, 56, 689, 25);
    column->addWidget(visibilityGroup);
    column->addStretch(1);
}

void SettingsDialog::buildDrawControlPage()
{
    drawControlPage = new QWidget;
    pageControl->addTab(drawControlPage, QStringLiteral("摇奖控制（必须是用软件的默认转盘）"));
    auto* column = new QVBoxLayout(drawControlPage);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(0);

    // Stop by key lets a guest end the spin; automatic stop is the old behaviour.
    stopModeGroup = group(QStringLiteral("停止模式"), drawControlPage, 57);
    stopByKeyRadio =
        place(new QRadioButton(QStringLiteral("按键停止"), stopModeGroup), 8, 24, 81, 17);
    stopAutoRadio =
        place(new QRadioButton(QStringLiteral("自动停止"), stopModeGroup), 112, 24, 81, 17);
    stopAutoRadio->setChecked(true);
    auto* stopModes = new QButtonGroup(this);
    stopModes->addButton(stopByKeyRadio);
    stopModes->addButton(stopAutoRadio);
    column->addWidget(stopModeGroup);

    controlModeGroup = group(QStringLiteral("控制模式"), drawControlPage, 96);
    fullyRandomRadio =
        place(new QRadioButton(QStringLiteral("完全随机（可能会出现大奖）"), controlModeGroup), 8,
              24, 209, 17);
    fullyRandomRadio->setChecked(true);
    quotaRadio =
        place(new QRadioButton(QStringLiteral("按中奖几率出现（注意总数,如果不想出现某奖品"
                                              "请在数量栏填写0，其余的想出多少就填写多少）"),
                               controlModeGroup),
              8, 48, 625, 17);
    quotaHintLabel =
        place(new QLabel(QStringLiteral("这里也是在设定的数据里随机 从而可以避免大奖的产生"),
                         controlModeGroup),
              26, 70, 559, 13);
    setTextColour(quotaHintLabel, Qt::red);
    // No-big-prize mode on the first row beside fully random mode, its eight boxes after it:
    // the group keeps its height, so the names and quantities below keep their room.
    noBigPrizeRadio =
        place(new QRadioButton(QStringLiteral("不出现大奖（选中不出现的奖品）"), controlModeGroup),
              fullyRandomRadio->geometry().right() + 1 + NoBigPrizeGap, 24);
    noBigPrizeRadio->resize(noBigPrizeRadio->sizeHint().width(), 17);
    excludedPrizePanel = new QWidget(controlModeGroup);
    int checkLeft = 0;
    for (int i = 0; i < PrizeCount; ++i) {
        excludedPrizeChecks[i] =
            place(new QCheckBox(QString::number(i + 1), excludedPrizePanel), checkLeft, 0);
        excludedPrizeChecks[i]->setEnabled(false);
        checkLeft += excludedPrizeChecks[i]->width() + ExcludedCheckGap;
    }
    const int panelHeight = excludedPrizeChecks[0]->height();
    excludedPrizePanel->setGeometry(noBigPrizeRadio->geometry().right() + 1 + ExcludedPanelGap,
                                    24 + (17 - panelHeight) / 2, checkLeft - ExcludedCheckGap,
                                    panelHeight);
    auto* controlModes = new QButtonGroup(this);
    controlModes->addButton(fullyRandomRadio);
    controlModes->addButton(quotaRadio);
    controlModes->addButton(noBigPrizeRadio);
    connect(quotaRadio, &QRadioButton::toggled, this, &SettingsDialog::quotaRadioClick);
    connect(fullyRandomRadio, &QRadioButton::toggled, this, [this](bool on) {
        if (on)
            fullyRandomRadioClick();
    });
    connect(noBigPrizeRadio, &QRadioButton::toggled, this, [this](bool on) {
        // The boxes mean something only while their choice is selected.
        for (QCheckBox* check : excludedPrizeChecks)
            check->setEnabled(on);
        if (on)
            noBigPrizeRadioClick();
    });
    column->addWidget(controlModeGroup);

    buildPrizeGroup(drawControlPage);
    column->addWidget(prizeGroup, 1);
    // Keeps the choices at the top while the prize group is hidden.
    column->addStretch(0);
}

void SettingsDialog::buildPrizeGroup(QWidget* page)
{
    prizeGroup = new QGroupBox(QStringLiteral("设置奖品名称和数量（转盘中顶部为奖品1，按顺时针方向"
                                              "奖品依次为2,3,4,5,6,7,8） "),
                               page);
    for (int i = 0; i < PrizeCount; ++i) {
        prizeNameLabels[i] =
            place(new QLabel(QStringLiteral("奖品%1名称：").arg(i + 1), prizeGroup), 61,
                  PrizeLabelTops[i], 66);
        prizeNameEdits[i] = place(new QLineEdit(prizeGroup), 134, PrizeRowTops[i], 289, 21);
        quantityEdits[i] = place(new QuantityBox(prizeGroup), 437, PrizeRowTops[i], 47, 21);
        // Wider only where the font would cut off "1000".
        quantityEdits[i]->resize(quantityEdits[i]->widthShowingMaximum(47), 21);
        connect(prizeNameEdits[i], &QLineEdit::textChanged, this,
                [this, i] { prizeNameEditChange(i); });
        connect(quantityEdits[i], &QuantityBox::textChanged, this,
                [this, i] { quantityEditChange(i); });
    }
    for (int i = 1; i < PrizeCount; ++i)
        setTabOrder(prizeNameEdits[i - 1], prizeNameEdits[i]);
    setTabOrder(prizeNameEdits[PrizeCount - 1], quantityEdits[0]);
    for (int i = 1; i < PrizeCount; ++i)
        setTabOrder(quantityEdits[i - 1], quantityEdits[i]);

    totalCaptionLabel =
        place(new QLabel(QStringLiteral("合计数量："), prizeGroup), 520, 96, 68, 13);
    totalLabel = new QLabel(QStringLiteral("0"), prizeGroup);
    QFont totalFont = totalLabel->font();
    totalFont.setBold(true);
    totalFont.setPixelSize(40);
    totalLabel->setFont(totalFont);
    totalLabel->setAlignment(Qt::AlignCenter);
    setTextColour(totalLabel, Qt::red);
    place(totalLabel, TotalLabelLeft, TotalLabelTop);
    // A growing total stays centred where the first one stood.
    totalCentre_ = TotalLabelLeft + totalLabel->width() / 2;
    prizeGroup->hide();
}

void SettingsDialog::buildButtonPanel()
{
    buttonPanel = new QWidget(this);
    buttonPanel->setGeometry(0, ClientHeight - ButtonPanelHeight, ClientWidth, ButtonPanelHeight);
    saveButton = place(new QPushButton(QStringLiteral("保存"), buttonPanel), 247, 16, 75, 25);
    discardButton = place(new QPushButton(QStringLiteral("放弃"), buttonPanel), 367, 16, 75, 25);
    // Enter in a field must not save and end the program.
    saveButton->setAutoDefault(false);
    discardButton->setAutoDefault(false);
    connect(saveButton, &QPushButton::clicked, this, &SettingsDialog::saveButtonClick);
    connect(discardButton, &QPushButton::clicked, this, &SettingsDialog::discardButtonClick);
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
    const int rowEnd = controlModeGroup->width() - fullyRandomRadio->x();
    const int over = excludedPrizePanel->geometry().right() + 1 - rowEnd;
    const int spare = fullyRandomRadio->width() - fullyRandomRadio->sizeHint().width();
    const int shift = qBound(0, over, spare);
    if (shift == 0)
        return;
    fullyRandomRadio->resize(fullyRandomRadio->width() - shift, fullyRandomRadio->height());
    noBigPrizeRadio->move(noBigPrizeRadio->pos() - QPoint(shift, 0));
    excludedPrizePanel->move(excludedPrizePanel->pos() - QPoint(shift, 0));
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
        titleEdit->setText(fromGbk(loadedTitle_));
    });
    runHandler(this, [&] { titleSizeSpinner->setValue(settings.integer(SettingsKey::TitleSize)); });
    runHandler(this,
               [&] { titleColorEdit->setColorValue(settings.integer(SettingsKey::TitleColour)); });
    runHandler(this, [&] {
        if (parseStopMode(settings.text(SettingsKey::StopMode)) == StopMode::ByKey)
            stopByKeyRadio->setChecked(true);
        if (settings.text(SettingsKey::StopMode) == stopModeText(StopMode::Automatic))
            stopAutoRadio->setChecked(true);
    });
    runHandler(this, [&] {
        if (parseDrawMode(settings.text(SettingsKey::ControlMode)) == DrawMode::FullyRandom)
            fullyRandomRadio->setChecked(true);
        if (parseDrawMode(settings.text(SettingsKey::ControlMode)) == DrawMode::NoBigPrize)
            noBigPrizeRadio->setChecked(true);
        if (parseDrawMode(settings.text(SettingsKey::ControlMode)) == DrawMode::Quota)
            quotaRadio->setChecked(true);
    });
    runHandler(this, [&] {
        const ExcludedSlots excluded =
            ExcludedSlots::parse(settings.text(SettingsKey::ExcludedPrizes));
        for (int i = 0; i < PrizeCount; ++i)
            excludedPrizeChecks[i]->setChecked(excluded.contains(i + 1));
    });
    runHandler(this, [&] {
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowPrizeList)))
            showPrizeListCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowResults)))
            showResultsCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowCelebration)))
            showCelebrationCheck->setChecked(true);
        if (SettingsKey::isOn(settings.text(SettingsKey::ShowPrizesLeft)))
            showPrizesLeftCheck->setChecked(true);
    });

    loadPrizeFile(QStringLiteral("data/奖品.txt"), &nameLines_, &unreadableNames_);
    for (int i = 0; i < PrizeCount; ++i)
        prizeNameEdits[i]->setText(fromGbk(nameLines_.line(i)));
    loadPrizeFile(QStringLiteral("data/数量.txt"), &quantityLines_, &unreadableQuantities_);
    for (int i = 0; i < PrizeCount; ++i)
        quantityEdits[i]->setText(fromGbk(quantityLines_.line(i)));
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
    const QString text = prizeNameEdits[index]->text();
    // An untouched line keeps its bytes, even those that are not valid GBK.
    if (fromGbk(nameLines_.line(index)) != text)
        nameLines_.setLine(index, toGbk(text));
}

void SettingsDialog::quantityEditChange(int index)
{
    int64_t total = 0;
    for (QuantityBox* box : quantityEdits) {
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
        total += quantityValue(box->text());
    }
    showTotal(total);
    const QString text = quantityEdits[index]->text();
    if (fromGbk(quantityLines_.line(index)) != text)
        quantityLines_.setLine(index, toGbk(text));
}

void SettingsDialog::showTotal(int64_t total)
{
    totalLabel->setText(QString::number(total));
    totalLabel->adjustSize();
    totalLabel->move(totalCentre_ - totalLabel->width() / 2, TotalLabelTop);
}

void SettingsDialog::quotaRadioClick()
{
    prizeGroup->setVisible(quotaRadio->isChecked());
}

void SettingsDialog::fullyRandomRadioClick()
{
    prizeGroup->hide();
}

void SettingsDialog::noBigPrizeRadioClick()
{
    prizeGroup->hide();
}

ExcludedSlots SettingsDialog::excludedSlots() const
{
    ExcludedSlots excluded;
    for (int i = 0; i < PrizeCount; ++i)
        excluded.set(i + 1, excludedPrizeChecks[i]->isChecked());
    return excluded;
}

void SettingsDialog::saveButtonClick()
{
    // Keeping every prize out would leave the draw screen nothing to give.
    if (noBigPrizeRadio->isChecked() && excludedSlots().all()) {
        showNoticeBox(this, KeepOnePrizeText);
        return;
    }
    SettingsSave save;
    try {
        save = prepareSave();
        save.write(programFolder());
    } catch (const std::exception& error) {
        showNoticeBox(this, QStringLiteral("保存失败：") + errorMessageOf(error));
        return;
    }
    emit poolSaved(save.pool, save.poolQuantities);
    showNoticeBox(this, QStringLiteral("保存成功！程序即将关闭，请重新打开。"));
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
        const QString text = prizeNameEdits[i]->text();
        if (fromGbk(nameLines_.line(i)) == text)
            continue;
        if (const auto bad = firstNonGbkCharacter(text))
            throw AppError(QStringLiteral("奖品名称含有无法保存的字符：") + *bad);
    }
    save.titleColor = titleColorEdit->colorValue();
    save.titleSize = titleSizeSpinner->value();
    save.stopMode =
        stopModeText(stopByKeyRadio->isChecked() ? StopMode::ByKey : StopMode::Automatic);
    save.controlMode = drawModeText(quotaRadio->isChecked()        ? DrawMode::Quota
                                    : noBigPrizeRadio->isChecked() ? DrawMode::NoBigPrize
                                                                   : DrawMode::FullyRandom);
    save.excludedSlots = excludedSlots().text();
    save.showPrizeList = showPrizeListCheck->isChecked();
    save.showResults = showResultsCheck->isChecked();
    save.showCelebration = showCelebrationCheck->isChecked();
    save.showPrizesLeft = showPrizesLeftCheck->isChecked();
    save.prizeNames = nameLines_.text();
    save.quantities = quantityLines_.text();
    if (quotaRadio->isChecked()) {
        // Every quantity must convert before the first file is written.
        PrizeQuantities quantities{};
        for (int i = 0; i < PrizeCount; ++i)
            quantities[i] = parseInteger(toGbk(quantityEdits[i]->text()));
        save.pool = makePoolFile(quantities, RandomSource(randomClock_));
        for (int i = 0; i < PrizeCount; ++i)
            save.poolQuantities[i] = std::max(0, quantities[i]);
    }
    return save;
}

QByteArray SettingsDialog::titleForSave() const
{
    const QString text = titleEdit->text();
    if (text == fromGbk(loadedTitle_))
        return trimmedTitle(loadedTitle_);
    if (const auto bad = firstNonGbkCharacter(text))
        throw AppError(QStringLiteral("标题含有无法保存的字符：") + *bad);
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
