#include "operatorwindow/operator_window.h"

#include "datafiles/gbk.h"
#include "datafiles/settings_file.h"
#include "datafiles/settings_keys.h"
#include "display/screen_choice.h"
#include "drawscreen/black_out_cover.h"
#include "drawscreen/draw_screen.h"
#include "drawscreen/presenter_keys.h"
#include "drawscreen/prizes_left_view.h"
#include "evening/draw_evening.h"
#include "operatorwindow/operator_status.h"
#include "ui/message_boxes.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>
#include <QVBoxLayout>
#include <QWindow>

namespace {

const QString Caption = QStringLiteral("操作员窗口");
const QString CounterPrefix = QStringLiteral("累计送出奖品数量：");

QFont sized(QFont font, int pixels, bool bold = false)
{
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

OperatorWindow::OperatorWindow(DrawScreen* stage)
    : QWidget(nullptr, Qt::Window), stage_(stage), evening_(&stage->evening())
{
    setWindowTitle(Caption);
    setAccessibleName(Caption);
    resize(1000, 680);

    title_ = new QLabel(this);
    title_->setTextFormat(Qt::PlainText);
    title_->setFont(sized(font(), 22, true));
    prizes_ = new QTextEdit(this);
    prizes_->setReadOnly(true);
    prizes_->setUndoRedoEnabled(false);
    prizes_->setAccessibleName(QStringLiteral("奖品名称列表"));
    results_ = new QListWidget(this);
    results_->setAccessibleName(QStringLiteral("中奖结果"));
    counter_ = new QLabel(this);
    counter_->setFont(sized(font(), 16, true));
    mode_ = new QLabel(this);
    projector_ = new QLabel(this);
    journal_ = new QLabel(this);
    journal_->setWordWrap(true);
    sound_ = new QLabel(this);
    sound_->setWordWrap(true);
    for (QWidget* w : {static_cast<QWidget*>(prizes_), static_cast<QWidget*>(results_)}) {
        w->setFont(sized(font(), 15));
        // The keys are the window's: Space starts a spin whatever was clicked last.
        w->setFocusPolicy(Qt::NoFocus);
    }

    start_ = button(QStringLiteral("开始/停止"), &DrawScreen::startButtonClick);
    takeBack_ = button(QStringLiteral("作废上一次中奖"), &DrawScreen::voidResultItemClick);
    blackOut_ = button(QStringLiteral("黑屏/恢复"), &DrawScreen::blackOutItemClick);
    save_ = button(QStringLiteral("保存中奖结果"), &DrawScreen::saveResultsItemClick);
    fullScreen_ = button(QStringLiteral("全屏显示"), &DrawScreen::fullScreenItemClick);
    switchScreen_ = button(QStringLiteral("切换显示屏"), &DrawScreen::switchScreenItemClick);
    settings_ = button(QStringLiteral("设置"), &DrawScreen::settingsItemClick);
    exit_ = button(QStringLiteral("退出"), &DrawScreen::exitItemClick);
    start_->setFont(sized(font(), 18, true));
    fullScreen_->setCheckable(true);

    auto* lists = new QHBoxLayout;
    auto* prizeColumn = new QVBoxLayout;
    prizeColumn->addWidget(new QLabel(QStringLiteral("奖品"), this));
    prizeColumn->addWidget(prizes_);
    auto* resultColumn = new QVBoxLayout;
    resultColumn->addWidget(new QLabel(QStringLiteral("中奖结果"), this));
    resultColumn->addWidget(results_);
    resultColumn->addWidget(counter_);
    lists->addLayout(prizeColumn, 2);
    lists->addLayout(resultColumn, 3);
    auto* buttons = new QGridLayout;
    const QList<QPushButton*> all = {start_,      takeBack_,     blackOut_, save_,
                                     fullScreen_, switchScreen_, settings_, exit_};
    for (int i = 0; i < all.size(); ++i)
        buttons->addWidget(all[i], i / 4, i % 4);
    auto* column = new QVBoxLayout(this);
    column->addWidget(title_);
    column->addLayout(lists, 1);
    for (QLabel* status : {mode_, projector_, journal_, sound_})
        column->addWidget(status);
    column->addLayout(buttons);

    connect(evening_, &DrawEvening::prizeNamesChanged, this, &OperatorWindow::showPrizes);
    connect(evening_, &DrawEvening::poolChanged, this, &OperatorWindow::showPrizes);
    connect(evening_, &DrawEvening::resultAdded, this, &OperatorWindow::showResults);
    connect(evening_, &DrawEvening::resultVoided, this, &OperatorWindow::showResults);
    connect(evening_, &DrawEvening::takeBackChanged, takeBack_, &QPushButton::setEnabled);
    for (const auto changed :
         {&DrawEvening::spinStarted, &DrawEvening::spinEnded, &DrawEvening::journalChanged})
        connect(evening_, changed, this, &OperatorWindow::showStatus);
    connect(evening_, &DrawEvening::soundChanged, this, &OperatorWindow::showStatus);
    connect(stage_, &DrawScreen::projectorChanged, this, &OperatorWindow::showStatus);
    connect(stage_, &DrawScreen::operatorWindowAsked, this, [this] { setWanted(!wanted_); });
    connect(qApp, &QGuiApplication::screenAdded, this, &OperatorWindow::follow);
    connect(qApp, &QGuiApplication::screenRemoved, this, &OperatorWindow::follow,
            Qt::QueuedConnection);
    connect(stage_, &DrawScreen::projectorChanged, this, &OperatorWindow::follow);
    routeBoxes(stage_, this);
    showTitle();
    showPrizes();
    showResults();
    showStatus();
}

QPushButton* OperatorWindow::button(const QString& text, void (DrawScreen::*handler)())
{
    auto* b = new QPushButton(text, this);
    b->setFocusPolicy(Qt::NoFocus);
    b->setMinimumHeight(36);
    connect(b, &QPushButton::clicked, stage_, handler);
    return b;
}

void OperatorWindow::showAsRemembered()
{
    wanted_ = rememberedShown();
    follow();
}

bool OperatorWindow::rememberedShown()
{
    return SettingsKey::isOn(SettingsFile().text(SettingsKey::OperatorWindow));
}

void OperatorWindow::setWanted(bool wanted)
{
    if (!available())
        return;
    wanted_ = wanted;
    runHandler(this, [wanted] {
        SettingsFile().write(SettingsKey::OperatorWindow,
                             wanted ? SettingsKey::On : SettingsKey::Off);
    });
    follow();
}

bool OperatorWindow::available() const
{
    return QGuiApplication::screens().size() > 1;
}

void OperatorWindow::follow()
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* stageScreen = stage_->windowHandle() ? stage_->windowHandle()->screen() : nullptr;
    const std::optional<int> chosen =
        ScreenChoice::forOperator(int(screens.size()), int(screens.indexOf(stageScreen)),
                                  int(screens.indexOf(QGuiApplication::primaryScreen())));
    if (wanted_ && chosen && stage_->isVisible()) {
        if (screens[*chosen] != placedOn_ || !isVisible())
            placeOn(screens[*chosen]);
    } else if (isVisible()) {
        hide();
    }
    stage_->setOperatorWindowItem(available(), isVisible());
}

void OperatorWindow::placeOn(QScreen* target)
{
    placedOn_ = target;
    const QRect area = target->availableGeometry();
    const QSize size = QSize(1000, 680).boundedTo(area.size() * 9 / 10);
    if (!isVisible())
        create();
    windowHandle()->setScreen(target);
    setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
    show();
    raise();
    activateWindow();
}

void OperatorWindow::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    // The operator reads "all drawn" here at once; the hall keeps its celebration.
    evening_->setNoticesWaitForCelebration(false);
    showTitle();
    showStatus();
    emit shownChanged(true);
}

void OperatorWindow::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    evening_->setNoticesWaitForCelebration(true);
    emit shownChanged(false);
}

void OperatorWindow::closeEvent(QCloseEvent* event)
{
    // Its close box hides it, as F2 does; the program goes on.
    event->ignore();
    setWanted(false);
}

void OperatorWindow::keyPressEvent(QKeyEvent* event)
{
    if (event->isAutoRepeat()) {
        event->accept();
        return;
    }
    const bool black = stage_->projectorState().blackedOut;
    switch (event->key()) {
    case Qt::Key_F11:
        stage_->fullScreenItemClick();
        return;
    case Qt::Key_F2:
        setWanted(false);
        return;
    default:
        break;
    }
    // The draw screen's keys do here what they do there.
    switch (presenterAction(event->key(), event->modifiers(), black)) {
    case PresenterAction::Start:
        stage_->startButtonClick();
        break;
    case PresenterAction::ToggleBlackOut:
        stage_->blackOutItemClick();
        break;
    case PresenterAction::EndBlackOut:
        if (black)
            stage_->blackOutItemClick();
        break;
    case PresenterAction::TakeBack:
        stage_->voidResultItemClick();
        break;
    case PresenterAction::Swallow:
        break;
    case PresenterAction::None:
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
}

void OperatorWindow::showTitle()
{
    title_->setText(fromGbk(SettingsFile().text(SettingsKey::TitleText)));
}

void OperatorWindow::showPrizes()
{
    prizes_->setPlainText(evening_->prizeNames().join('\n'));
    showPrizesLeft(prizes_->document(), evening_->prizesLeft());
}

void OperatorWindow::showResults()
{
    const QList<DrawResult>& results = evening_->session().results();
    results_->clear();
    for (int i = 0; i < results.size(); ++i) {
        auto* item = new QListWidgetItem(resultStatus(i + 1, results[i]), results_);
        if (results[i].voided)
            item->setForeground(QColor(150, 150, 150));
    }
    results_->scrollToBottom();
    counter_->setText(results.isEmpty()
                          ? QString()
                          : CounterPrefix + QString::number(evening_->session().prizesGiven()) +
                                QStringLiteral("个"));
}

void OperatorWindow::showStatus()
{
    const SettingsFile settings;
    mode_->setText(
        modeStatus(settings.text(SettingsKey::ControlMode), settings.text(SettingsKey::StopMode)));
    const ProjectorState projector = stage_->projectorState();
    projector_->setText(projectorStatus(projector, evening_->spinning()));
    journal_->setText(journalStatus(evening_->journalRows(), evening_->journalFailure()));
    sound_->setText(soundStatus(evening_->soundMissing()));
    fullScreen_->setChecked(projector.fullScreen);
    takeBack_->setEnabled(evening_->canTakeBack());
}

QString OperatorWindow::statusText() const
{
    return QStringList{title_->text(),     counter_->text(), mode_->text(),
                       projector_->text(), journal_->text(), sound_->text()}
        .join('\n');
}
