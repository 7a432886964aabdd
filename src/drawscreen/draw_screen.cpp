#include "drawscreen/draw_screen.h"

#include "app/message_boxes.h"
#include "audio/media_player.h"
#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
#include "datafiles/colour_value.h"
#include "datafiles/gbk.h"
#include "datafiles/settings_file.h"
#include "datafiles/text_file.h"
#include "drawscreen/image_control.h"
#include "drawscreen/picture_preload.h"
#include "drawscreen/prize_pool.h"
#include "drawscreen/spin_rules.h"
#include "drawscreen/text_colour.h"
#include "rotatingimage/rotating_image.h"

#include <QFile>
#include <QImageReader>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <cerrno>
#include <cstdio>

namespace {

const QString AnnouncementPrefix = QStringLiteral("恭喜！你获得了奖品     ");
const QString CounterPrefix = QStringLiteral("累计送出奖品数量：");
const QString AllDrawnText = QStringLiteral("所有奖品已经摇完！");
const QString InvalidModeText = QStringLiteral("控制模式设置无效，请在设置中重新选择控制模式！");
const QString DragHint = QStringLiteral("点击按住拖动");

bool isWorkingMode(const QByteArray& mode)
{
    return mode == "1" || mode == "3";
}

QFont pixelFont(const QString& family, int pixels, bool bold)
{
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

// The rich-text lists draw no background of their own, so the stage shows through them.
void makeSeeThrough(QTextEdit* list)
{
    QPalette palette = list->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, Qt::transparent);
    list->setPalette(palette);
    list->setAutoFillBackground(false);
    list->viewport()->setAutoFillBackground(false);
}

const QString BackgroundPicture = QStringLiteral("pic/背景.png");

// Reads a picture, naming its path when it fails.
QImage loadPictureFile(const QString& path)
{
    FILE* file = openFileForReading(path);
    if (!file)
        throw AppError(cannotOpenMessage(path, causeText(lastSystemError())));
    std::fclose(file);
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    QImage image = reader.read();
    if (image.isNull())
        throw AppError(cannotOpenMessage(path, QStringLiteral("The picture cannot be read: ") +
                                                   reader.errorString()));
    return image;
}

// Reads a picture relative to the working folder.
QImage loadPicture(const QString& relative)
{
    return loadPictureFile(workingFolder() + relative);
}

} // namespace

DrawScreen::DrawScreen(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint),
      // The background is by far the largest picture: it decodes while the screen is built.
      backgroundPreload_(
          std::make_unique<PicturePreload>(workingFolder() + BackgroundPicture, loadPictureFile))
{
    setWindowTitle(QStringLiteral("Quenlo通用转盘摇奖程序2013"));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11, false));
    move(130, -10);
    resize(1071, 743);
    buildComponents();
    buildContextMenu();
    FormCreate();
}

DrawScreen::~DrawScreen() = default;

void DrawScreen::buildComponents()
{
    const auto image = [this](int x, int y, int w, int h) {
        auto* control = new ImageControl(this);
        control->setGeometry(x, y, w, h);
        return control;
    };
    const auto label = [this](int x, int y, int w, int h, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setGeometry(x, y, w, h);
        return l;
    };

    emptyBackImage = image(-408, 16, 1377, 591);
    backgroundImage = image(0, 0, width(), height());
    backgroundImage->setPictureFile(QStringLiteral(":/layout/initial_background.jpg"));

    wheelImage = new RotatingImage(this);
    wheelImage->setGeometry(280, 40, 545, 529);
    wheelImage->setUniqueSize(false);
    pointerImage = new RotatingImage(this);
    pointerImage->setGeometry(376, 88, 350, 350);
    for (RotatingImage* r : {wheelImage, pointerImage}) {
        r->setCenter(true);
        r->setStretch(true);
        r->setTransparent(true);
    }

    titleLabel = label(32, 16, 1200, 121, QStringLiteral("这里是摇奖活动标题"));
    titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    titleLabel->setFont(pixelFont(QStringLiteral("黑体"), 40, true));
    setTextColor(titleLabel, Qt::white);

    emptyFrontImage = image(160, 48, 73, 65);

    const QPoint prizePlaces[8] = {{504, 104}, {408, 144}, {392, 248}, {432, 352},
                                   {520, 376}, {616, 320}, {632, 224}, {632, 112}};
    for (int k = 0; k < 8; ++k)
        prizeImages[k] = image(prizePlaces[k].x(), prizePlaces[k].y(), 60, 60);

    counterLabel = label(112, 696, 305, 36, QStringLiteral("累计送出奖品数量："));
    counterLabel->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 19, true));
    setTextColor(counterLabel, Qt::white);

    debugLabel = label(224, 0, 145, 41, QStringLiteral("debugLabel"));
    debugLabel->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 40, false));
    debugLabel->hide();

    startButton = new QPushButton(QStringLiteral("开始"), this);
    startButton->setGeometry(904, 68, 75, 25);
    startButton->setAutoDefault(true); // Enter activates it as well as Space
    startButton->setFocusPolicy(Qt::StrongFocus);
    connect(startButton, &QPushButton::clicked, this, &DrawScreen::startButtonClick);

    prizeList = new QTextEdit(this);
    prizeList->setGeometry(8, 88, 345, 433);
    prizeList->setFrameStyle(QFrame::NoFrame);
    prizeList->setReadOnly(true);
    prizeList->setLineWrapMode(QTextEdit::NoWrap);
    prizeList->setFont(pixelFont(QStringLiteral("黑体"), 27, true));
    prizeList->setPlainText(QStringLiteral("prizeList"));

    resultsList = new QTextEdit(this);
    resultsList->setGeometry(416, 696, 729, 49);
    resultsList->setFrameStyle(QFrame::NoFrame);
    resultsList->setReadOnly(true);
    resultsList->setLineWrapMode(QTextEdit::WidgetWidth);
    resultsList->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 19, true));
    resultsList->setEnabled(false);
    connect(resultsList, &QTextEdit::textChanged, this, &DrawScreen::resultsListChange);

    for (QTextEdit* list : {prizeList, resultsList}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextInteractionFlags(Qt::NoTextInteraction);
        setTextColor(list, Qt::white);
    }
    setTabOrder(startButton, prizeList);
    setTabOrder(prizeList, resultsList);

    soundPlayer = new MediaPlayer(this);

    spinTimer = new QTimer(this);
    spinTimer->setInterval(10);
    spinTimer->setTimerType(Qt::PreciseTimer);
    connect(spinTimer, &QTimer::timeout, this, &DrawScreen::spinTimerTick);

    focusTimer = new QTimer(this);
    focusTimer->setInterval(1000);
    connect(focusTimer, &QTimer::timeout, this, &DrawScreen::focusTimerTick);
    focusTimer->start();

    // Draggable elements show the drag cursor; the pointer, title and name list a hint too.
    QList<QWidget*> draggable = {pointerImage, titleLabel, prizeList};
    for (QWidget* w : draggable)
        w->setToolTip(DragHint);
    for (ImageControl* p : prizeImages)
        draggable.append(p);
    for (QWidget* w : draggable) {
        w->setCursor(Qt::DragMoveCursor);
        w->setMouseTracking(true);
    }
    prizeList->viewport()->setCursor(Qt::DragMoveCursor);
    prizeList->viewport()->setMouseTracking(true);
    for (QWidget* w : draggable)
        w->installEventFilter(this);
    prizeList->viewport()->installEventFilter(this);
    resultsList->installEventFilter(this);
    resultsList->viewport()->installEventFilter(this);
}

void DrawScreen::FormCreate()
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the background picture covers the whole window
    makeSeeThrough(prizeList);
    makeSeeThrough(resultsList);
    counterLabel->clear();
    FormResize();
}

void DrawScreen::FormResize()
{
    makeSeeThrough(prizeList);
    makeSeeThrough(resultsList);
    backgroundImage->setGeometry(rect());
    const int outerHeight = frameGeometry().height();
    counterLabel->move(counterLabel->x(), outerHeight - counterLabel->height() - 100);
    resultsList->move(resultsList->x(), counterLabel->y());
}

void DrawScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    FormResize();
}

void DrawScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    // Restored once the window is up, so a failure's box comes up over the shown screen.
    QMetaObject::invokeMethod(this, &DrawScreen::FormShow, Qt::QueuedConnection);
}

void DrawScreen::FormShow()
{
    runHandler(this, [this] { restoreScreen(); });
}

void DrawScreen::restoreScreen()
{
    startButton->move(startButton->x(), -100);
    restorePool();

    backgroundImage->setPicture(backgroundPreload_->take(workingFolder() + BackgroundPicture));
    wheelImage->setPicture(loadPicture(QStringLiteral("pic/转盘.png")));
    pointerImage->setPicture(loadPicture(QStringLiteral("pic/指针.png")));
    for (int k = 0; k < 8; ++k)
        prizeImages[k]->setPicture(loadPicture(QStringLiteral("pic/%1.png").arg(k + 1)));

    const SettingsFile settings;
    pointerImage->move(settings.integer("zhizhen_left"), pointerImage->y());
    pointerImage->move(pointerImage->x(), settings.integer("zhizhen_top"));
    placeWheelOnPointer();
    titleLabel->move(settings.integer("biaoti_left"), titleLabel->y());
    titleLabel->move(titleLabel->x(), settings.integer("biaoti_top"));
    titleLabel->setText(fromGbk(settings.text("biaoti_text")));
    QFont titleFont = titleLabel->font();
    const int32_t size = settings.integer("biaoti_size");
    if (size > 0)
        titleFont.setPointSize(size);
    else if (size < 0)
        titleFont.setPixelSize(-size);
    titleLabel->setFont(titleFont);
    setTextColor(titleLabel, colourFromValue(settings.integer("biaoti_color")));
    for (int k = 0; k < 8; ++k) {
        const QByteArray key = "pic" + QByteArray::number(k + 1);
        ImageControl* picture = prizeImages[k];
        picture->move(settings.integer(key + "_left"), picture->y());
        picture->move(picture->x(), settings.integer(key + "_top"));
    }
    reloadPrizeNames();
    prizeList->move(settings.integer("present_left"), prizeList->y());
    prizeList->move(prizeList->x(), settings.integer("present_top"));
    if (settings.text("present_xianshi") != "1")
        prizeList->hide();
    if (settings.text("zhongjiang_xianshi") != "1") {
        counterLabel->hide();
        resultsList->hide();
    }
}

void DrawScreen::restorePool()
{
    const PoolText pool = parsePoolText(loadTextFile(programFolder() + "data/db.dat"));
    poolList = pool.entries;
    // A damaged line is reported once, here, and left out; the restore goes on.
    if (!pool.refusals.isEmpty())
        showErrorBox(this, pool.refusals.join('\n'));
}

void DrawScreen::placeWheelOnPointer()
{
    // Integer division truncates toward zero, as the stored places always assumed.
    wheelImage->move(pointerImage->x() - (wheelImage->width() - pointerImage->width()) / 2,
                     wheelImage->y());
    wheelImage->move(wheelImage->x(),
                     pointerImage->y() - (wheelImage->height() - pointerImage->height()) / 2);
}

void DrawScreen::reloadPrizeNames()
{
    const QByteArray text = loadTextFile(programFolder() + "data/奖品.txt");
    QStringList lines;
    for (const QByteArray& line : splitLines(text))
        lines.append(fromGbk(line));
    prizeList->setPlainText(lines.join('\n'));
}

QString DrawScreen::prizeName(int slot) const
{
    const QTextBlock block = prizeList->document()->findBlockByNumber(slot - 1);
    return block.isValid() ? block.text() : QString();
}

int DrawScreen::resultsCount() const
{
    return resultsList->document()->isEmpty() ? 0 : resultsList->document()->blockCount();
}

void DrawScreen::playClip(const QString& relativePath)
{
    soundPlayer->setFileName(programFolder() + relativePath);
    soundPlayer->Open();
    soundPlayer->Play();
}

void DrawScreen::startButtonClick()
{
    runHandler(this, [this] {
        const SettingsFile settings;
        if (spinTimer->isActive())
            return;
        // A mode with no stop rule would spin for ever; it starts nothing.
        if (!isWorkingMode(settings.text("kongzhimoshi"))) {
            showNoticeBox(this, InvalidModeText);
            return;
        }
        playClip(QStringLiteral("sound/摇奖中.mp3"));
        spinTimer->start();
        pointerImage->setAngle(0);
        if (settings.text("kongzhimoshi") == "1") {
            random_.reseed();
            SpinTarget = SpinTargetBase + static_cast<int32_t>(random_.below(SpinTargetSpread));
        }
        if (settings.text("kongzhimoshi") == "3") {
            random_.reseed();
            PoolIndex = static_cast<int32_t>(random_.below(static_cast<uint32_t>(poolList.size())));
        }
    });
}

void DrawScreen::spinTimerTick()
{
    runHandler(this, [this] {
        const SettingsFile settings;
        pointerImage->setAngle(pointerImage->angle() - SpinStep);

        if (settings.text("kongzhimoshi") == "1" &&
            stopTestFires(SpinTarget, pointerImage->angle()))
            stopFullyRandom();

        const QByteArray mode = settings.text("kongzhimoshi");
        if (mode == "3") {
            // The index of an earlier spin may lie past the end of a pool that has shrunk.
            if (PoolIndex >= poolList.size() && !poolList.isEmpty()) {
                random_.reseed();
                PoolIndex =
                    static_cast<int32_t>(random_.below(static_cast<uint32_t>(poolList.size())));
            }
            if (PoolIndex < poolList.size()) {
                const int32_t entry = poolList[PoolIndex];
                const long double angle = pointerImage->angle();
                debugLabel->setText(QString::fromLatin1(shortestDecimalText(entry + angle)));
                if (stopTestFires(entry, angle))
                    stopQuota();
            }
            if (poolList.isEmpty()) {
                spinTimer->stop();
                showNoticeBox(this, AllDrawnText);
            }
        } else if (mode != "1" && spinTimer->isActive()) {
            stopForInvalidMode();
        }
    });
}

void DrawScreen::stopForInvalidMode()
{
    spinTimer->stop();
    showNoticeBox(this, InvalidModeText);
}

void DrawScreen::stopFullyRandom()
{
    finishSpin([] {});
}

void DrawScreen::stopQuota()
{
    finishSpin([this] {
        pointerImage->setAngle(-static_cast<long double>(poolList[PoolIndex]));
        poolList.removeAt(PoolIndex);
    });
}

void DrawScreen::finishSpin(const std::function<void()>& settlePointer)
{
    spinTimer->stop();
    QString soundError;
    try {
        playClip(QStringLiteral("sound/中奖后.mp3"));
    } catch (const std::exception& error) {
        soundError = errorMessageOf(error);
    }
    // The prize the pointer shows is always recorded, even when the fanfare cannot play.
    settlePointer();
    announcePrize(pointerImage->angle());
    if (!soundError.isNull())
        showErrorBox(this, soundError);
}

void DrawScreen::announcePrize(long double angle)
{
    resultsList->append(AnnouncementPrefix + prizeName(prizeSlotForAngle(angle)));
}

void DrawScreen::resultsListChange()
{
    QScrollBar* bar = resultsList->verticalScrollBar();
    bar->setValue(bar->maximum());
    counterLabel->setText(CounterPrefix + QString::number(resultsCount()) + QStringLiteral("个"));
}

void DrawScreen::focusTimerTick()
{
    startButton->setFocus();
}
