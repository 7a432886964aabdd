#include "drawscreen/draw_screen.h"

#include "datafiles/settings_keys.h"
#include "ui/message_boxes.h"
#include "audio/media_player.h"
#include "audio/media_sound_cues.h"
#include "datafiles/app_error.h"
#include "datafiles/app_paths.h"
#include "datafiles/colour_value.h"
#include "datafiles/gbk.h"
#include "datafiles/picture_cache.h"
#include "datafiles/picture_reader.h"
#include "datafiles/settings_file.h"
#include "draw/draw_texts.h"
#include "drawscreen/black_out_cover.h"
#include "drawscreen/celebration_overlay.h"
#include "drawscreen/drawn_wheel.h"
#include "drawscreen/image_control.h"
#include "drawscreen/picture_preload.h"
#include "draw/spin_rules.h"
#include "ui/first_frame.h"
#include "ui/next_paint.h"
#include "ui/text_colour.h"
#include "drawscreen/presenter_key_filter.h"
#include "drawscreen/prizes_left_view.h"
#include "drawscreen/results_list.h"
#include "rotatingimage/rotating_image.h"
#include "wheel/wheel_geometry.h"

#include <QAccessibleWidget>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextFormat>
#include <QTextEdit>
#include <QTimer>
#include <QWindow>

namespace {

const QString CounterPrefix = QStringLiteral("累计送出奖品数量：");
const QString DragHint = QStringLiteral("点击按住拖动");

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

// Appends one line to a list as plain text, in the list's own format: a prize name is shown
// exactly as typed, never taken for markup.
void appendPlainLine(QTextEdit* list, const QString& line)
{
    QTextCursor cursor(list->document());
    cursor.movePosition(QTextCursor::End);
    const QTextCursor current = list->textCursor();
    if (list->document()->isEmpty())
        cursor.setCharFormat(current.charFormat());
    else
        cursor.insertBlock(current.blockFormat(), current.charFormat());
    cursor.insertText(line);
}

// Marks line number line (0 for the first) of a list: mark at its end, the line greyed.
void markLine(QTextEdit* list, int line, const QString& mark)
{
    const QTextBlock block = list->document()->findBlockByNumber(line);
    if (!block.isValid())
        return;
    QTextCursor cursor(block);
    cursor.movePosition(QTextCursor::EndOfBlock);
    cursor.insertText(mark);
    cursor.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    QTextCharFormat grey;
    grey.setForeground(QColor(160, 160, 160));
    cursor.mergeCharFormat(grey);
}

const QString BackgroundPicture = QStringLiteral("pic/背景.png");
const QString WheelPicture = QStringLiteral("pic/转盘.png");
const QString PointerPicture = QStringLiteral("pic/指针.png");
// The pictures as last read at the size they were shown: a start after the first reads them
// back instead of decoding the files again.
const QString PictureCacheFolder = QStringLiteral("data/picture-cache");
// How long after the first frame the evening checks what start-up leaves to check.
constexpr int AfterFirstFrameDelayMs = 800;
// Eight phone photos take several times the background's decoding: two workers share them.
constexpr int PictureWorkers = 2;

QString prizePicture(int slot)
{
    return QStringLiteral("pic/%1.png").arg(slot);
}

ShownSize fixedSize(QSize pixels)
{
    return [pixels](QSize) { return pixels; };
}

// Whether the program draws the wheel with the prize names, rather than showing its picture.
bool wheelDrawn()
{
    return SettingsKey::isOn(SettingsFile().text(SettingsKey::WheelNames));
}

} // namespace

// The draw screen reads as a window on the accessibility bus: the role the bridge reports as
// "frame", named by its caption.
static QAccessibleInterface* accessibleDrawScreen(const QString& className, QObject* object)
{
    if (className == QLatin1String("DrawScreen") && object && object->isWidgetType())
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Border);
    return nullptr;
}

DrawScreen::DrawScreen(DrawEvening* evening, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint |
                          Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint),
      pictureCache_(programFolder() + PictureCacheFolder),
      ownEvening_(evening ? nullptr : std::make_unique<DrawEvening>()),
      evening_(evening ? evening : ownEvening_.get())
{
    static const bool accessibleInstalled = [] {
        QAccessible::installFactory(accessibleDrawScreen);
        return true;
    }();
    Q_UNUSED(accessibleInstalled);
    setWindowTitle(QStringLiteral("Quenlo通用转盘摇奖程序2013"));
    setFont(pixelFont(QStringLiteral("MS Sans Serif"), 11, false));
    move(130, -10);
    resize(1071, 743);
    guessClientSize();
    // The background is by far the largest picture: it decodes while the screen is built.
    const QSize backgroundPixels = devicePixels(readAheadClientSize());
    backgroundPreload_ = std::make_unique<PicturePreload>(
        workingFolder() + BackgroundPicture,
        [backgroundPixels, cache = pictureCache_](const QString& path) {
            return readPicture(path, fixedSize(backgroundPixels), &cache);
        });
    clientSizeTimer_ = new QTimer(this);
    clientSizeTimer_->setSingleShot(true);
    clientSizeTimer_->setInterval(200);
    connect(clientSizeTimer_, &QTimer::timeout, this, [this] {
        if (screen() == readAheadScreen_ &&
            (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)))
            pictureCache_.rememberClientSize(readAheadGuess_, size());
    });
    buildComponents();
    rememberLayout();
    buildContextMenu();
    FormCreate();
    startPictureReads();
}

void DrawScreen::startPictureReads()
{
    // The other pictures, in the order the restore shows them, each at the size its element
    // shows it; the sizes are worked out here, as the worker must not touch the widgets.
    const QString folder = workingFolder();
    QStringList paths;
    // A wheel the program draws needs no picture: a missing or broken one is no error then.
    if (!wheelDrawn()) {
        paths.append(folder + WheelPicture);
        pictureShown_.insert(paths.back(),
                             parts_.wheelImage->shownSizeAt(readAheadSize(parts_.wheelImage)));
    }
    paths.append(folder + PointerPicture);
    pictureShown_.insert(paths.back(),
                         parts_.pointerImage->shownSizeAt(readAheadSize(parts_.pointerImage)));
    QStringList prizes;
    for (int k = 0; k < 8; ++k) {
        prizes.append(folder + prizePicture(k + 1));
        pictureShown_.insert(prizes.back(),
                             fixedSize(devicePixels(readAheadSize(parts_.prizeImages[k]))));
    }
    paths += prizes;
    // Eight phone photos shown at the size of a thumbnail take several times the background's
    // decoding: their cameras' thumbnails stand in until the screen is up (showPhotoRead).
    picturesPreload_ = std::make_unique<PicturePreload>(
        paths,
        [shown = pictureShown_, prizes, cache = pictureCache_](const QString& path) {
            return readPicture(path, shown.value(path), &cache,
                               prizes.contains(path) ? Thumbnail::Accepted : Thumbnail::Ignored);
        },
        PictureWorkers);
}

void DrawScreen::readPhotosOfThumbnails()
{
    // Below the screen's priority where threads have priorities (Windows): a spin started
    // meanwhile comes first.
    photosPreload_ = std::make_unique<PicturePreload>(
        thumbnailsShown_,
        [shown = pictureShown_, cache = pictureCache_](const QString& path) {
            return readPicture(path, shown.value(path), &cache);
        },
        PictureWorkers,
        [this](const QString& path) {
            QMetaObject::invokeMethod(
                this, [this, path] { showPhotoRead(path); }, Qt::QueuedConnection);
        },
        QThread::LowPriority);
}

void DrawScreen::showPhotoRead(const QString& path)
{
    // A photo that cannot be read is told now, as the start-up read would have told it.
    runHandler(this, [this, &path] {
        const PictureRead read = photosPreload_->take(path);
        const QString folder = workingFolder();
        for (int k = 0; k < 8; ++k) {
            if (folder + prizePicture(k + 1) == path)
                parts_.prizeImages[k]->setPicture(read);
        }
        parts_.celebration->stageChanged();
    });
}

DrawScreen::~DrawScreen()
{
    // An evening that outlives its stage no longer plays on it or shows its boxes over it.
    evening_->setSounds(nullptr);
    if (!ownEvening_) {
        evening_->setMessages({});
        // No paint of this stage is coming: a stop that waited for one ends now.
        QObject::disconnect(evening_, nullptr, this, nullptr);
        evening_->setStopWaitsForPaint(false);
        evening_->stopPainted();
    }
}

void DrawScreen::buildComponents()
{
    const auto image = [this](int x, int y, int w, int h) {
        auto* control = new ImageControl(this);
        control->setGeometry(x, y, w, h);
        return control;
    };
    const auto label = [this](int x, int y, int w, int h, const QString& text) {
        auto* l = new QLabel(text, this);
        l->setTextFormat(Qt::PlainText); // a title is shown as typed, never as markup
        l->setGeometry(x, y, w, h);
        return l;
    };

    parts_.emptyBackImage = image(-408, 16, 1377, 591);
    parts_.backgroundImage = image(0, 0, width(), height());
    parts_.backgroundImage->setPictureFile(QStringLiteral(":/layout/initial_background.jpg"));

    parts_.wheelImage = new RotatingImage(this);
    parts_.wheelImage->setGeometry(280, 40, 545, 529);
    parts_.wheelImage->setUniqueSize(false);
    // The wheel never turns: at rest it keeps only what it paints, a megabyte or more less.
    parts_.wheelImage->setPictureReleasedAtRest(true);
    parts_.pointerImage = new RotatingImage(this);
    parts_.pointerImage->setGeometry(376, 88, 350, 350);
    for (RotatingImage* r : {parts_.wheelImage, parts_.pointerImage}) {
        r->setCenter(true);
        r->setStretch(true);
        r->setTransparent(true);
    }

    parts_.titleLabel = label(32, 16, 1200, 121, QStringLiteral("这里是摇奖活动标题"));
    parts_.titleLabel->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    parts_.titleLabel->setFont(pixelFont(QStringLiteral("黑体"), 40, true));
    setTextColor(parts_.titleLabel, Qt::white);

    parts_.emptyFrontImage = image(160, 48, 73, 65);

    const QPoint prizePlaces[8] = {{504, 104}, {408, 144}, {392, 248}, {432, 352},
                                   {520, 376}, {616, 320}, {632, 224}, {632, 112}};
    for (int k = 0; k < 8; ++k)
        parts_.prizeImages[k] = image(prizePlaces[k].x(), prizePlaces[k].y(), 60, 60);

    parts_.counterLabel = label(112, 696, 305, 36, QStringLiteral("累计送出奖品数量："));
    parts_.counterLabel->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 19, true));
    setTextColor(parts_.counterLabel, Qt::white);

    parts_.debugLabel = label(224, 0, 145, 41, QStringLiteral("debugLabel"));
    parts_.debugLabel->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 40, false));
    parts_.debugLabel->hide();

    parts_.startButton = new QPushButton(QStringLiteral("开始"), this);
    parts_.startButton->setGeometry(904, 68, 75, 25);
    parts_.startButton->setAutoDefault(true); // Enter activates it as well as Space
    parts_.startButton->setFocusPolicy(Qt::StrongFocus);
    connect(parts_.startButton, &QPushButton::clicked, this, &DrawScreen::startButtonClick);

    parts_.prizeList = new QTextEdit(this);
    parts_.prizeList->setGeometry(8, 88, 345, 433);
    parts_.prizeList->setFrameStyle(QFrame::NoFrame);
    parts_.prizeList->setReadOnly(true);
    parts_.prizeList->setLineWrapMode(QTextEdit::NoWrap);
    parts_.prizeList->setFont(pixelFont(QStringLiteral("黑体"), 27, true));
    parts_.prizeList->setPlainText(QStringLiteral("prizeList"));
    // The counts of prizes left change it at every stop: no undo history to grow.
    parts_.prizeList->setUndoRedoEnabled(false);

    parts_.resultsList = new ResultsList(this);
    parts_.resultsList->setGeometry(416, 696, 729, 49);
    parts_.resultsList->setFrameStyle(QFrame::NoFrame);
    parts_.resultsList->setReadOnly(true);
    parts_.resultsList->setLineWrapMode(QTextEdit::WidgetWidth);
    parts_.resultsList->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 19, true));
    parts_.resultsList->setEnabled(false);
    connect(parts_.resultsList, &QTextEdit::textChanged, this, &DrawScreen::resultsListChange);

    for (QTextEdit* list : {parts_.prizeList, parts_.resultsList}) {
        list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        list->setTextInteractionFlags(Qt::NoTextInteraction);
        setTextColor(list, Qt::white);
    }
    setTabOrder(parts_.startButton, parts_.prizeList);
    setTabOrder(parts_.prizeList, parts_.resultsList);

    // Names for screen readers and automated tests on the accessibility bus; the labels
    // keep their own text as their name.
    parts_.wheelImage->setAccessibleName(QStringLiteral("转盘"));
    parts_.pointerImage->setAccessibleName(QStringLiteral("指针"));
    for (int k = 0; k < 8; ++k)
        parts_.prizeImages[k]->setAccessibleName(QStringLiteral("奖品%1图片").arg(k + 1));
    parts_.prizeList->setAccessibleName(QStringLiteral("奖品名称列表"));
    parts_.resultsList->setAccessibleName(QStringLiteral("中奖结果"));

    parts_.soundPlayer = new MediaPlayer(this);

    parts_.spinTimer = evening_->spinTimer();

    parts_.focusTimer = new QTimer(this);
    parts_.focusTimer->setInterval(1000);
    connect(parts_.focusTimer, &QTimer::timeout, this, &DrawScreen::focusTimerTick);
    parts_.focusTimer->start();

    // Draggable elements show the drag cursor; the pointer, title and name list a hint too.
    QList<QWidget*> draggable = {parts_.pointerImage, parts_.titleLabel, parts_.prizeList};
    for (QWidget* w : draggable)
        w->setToolTip(DragHint);
    for (ImageControl* p : parts_.prizeImages)
        draggable.append(p);
    for (QWidget* w : draggable) {
        w->setCursor(Qt::DragMoveCursor);
        w->setMouseTracking(true);
    }
    parts_.prizeList->viewport()->setCursor(Qt::DragMoveCursor);
    parts_.prizeList->viewport()->setMouseTracking(true);
    for (QWidget* w : draggable)
        w->installEventFilter(this);
    parts_.prizeList->viewport()->installEventFilter(this);
    parts_.resultsList->installEventFilter(this);
    parts_.resultsList->viewport()->installEventFilter(this);

    parts_.celebration = new CelebrationOverlay(this);
    // The lists' texts are on the stage beneath the celebration.
    for (QTextEdit* list : {parts_.prizeList, parts_.resultsList})
        connect(list->document(), &QTextDocument::contentsChanged, parts_.celebration,
                &CelebrationOverlay::stageChanged);
    parts_.blackOut = new BlackOutCover(this);
    showEvening();
    connect(parts_.blackOut, &BlackOutCover::blackChanged, this, &DrawScreen::projectorChanged);
    new PresenterKeyFilter(
        this, parts_.startButton, parts_.blackOut, [this] { startButtonClick(); },
        [this] { voidResultItemClick(); });
}

void DrawScreen::showEvening()
{
    // The draw on the projector's speakers, and what it tells in boxes over this window.
    sounds_ = std::make_unique<MediaSoundCues>(parts_.soundPlayer);
    evening_->setSounds(sounds_.get());
    evening_->setMessages({[this](const QString& text) { showNoticeBox(this, text); },
                           [this](const QString& message) { showErrorBox(this, message); },
                           [this](const QString& question) { return askYesNo(this, question); }});
    connect(evening_, &DrawEvening::pointerTurned, this,
            [this](long double angle) { parts_.pointerImage->setAngle(angle); });
    connect(evening_, &DrawEvening::distanceToGo, this, [this](long double distance) {
        parts_.debugLabel->setText(QString::fromLatin1(shortestDecimalText(distance)));
    });
    connect(evening_, &DrawEvening::spinStarted, parts_.celebration, &CelebrationOverlay::dismiss);
    connect(evening_, &DrawEvening::prizeNamesChanged, this, &DrawScreen::showPrizeNames);
    connect(evening_, &DrawEvening::resultAdded, this, &DrawScreen::showResult);
    connect(evening_, &DrawEvening::resultVoided, this,
            [this](qsizetype index) { showVoided(index); });
    connect(evening_, &DrawEvening::poolChanged, this, &DrawScreen::updatePrizesLeft);
    connect(evening_, &DrawEvening::celebrationDue, this, &DrawScreen::celebrate);
    connect(parts_.celebration, &CelebrationOverlay::ended, evening_,
            &DrawEvening::celebrationEnded);
    // The fanfare waits until the operator sees the pointer stand at its prize.
    auto* stopPaint = new NextPaint(parts_.pointerImage);
    evening_->setStopWaitsForPaint(true);
    connect(evening_, &DrawEvening::stopToPaint, stopPaint,
            [this, stopPaint] { stopPaint->runAfter([this] { evening_->stopPainted(); }); });
    // The document carries the list in red; the screen shows it white again afterwards,
    // whether the write succeeded or not.
    connect(evening_, &DrawEvening::savingStarted, this,
            [this] { setTextColor(parts_.resultsList, QColor(255, 0, 0)); });
    connect(evening_, &DrawEvening::savingEnded, this,
            [this] { setTextColor(parts_.resultsList, Qt::white); });
}

void DrawScreen::FormCreate()
{
    setAttribute(Qt::WA_OpaquePaintEvent); // the background picture covers the whole window
    makeSeeThrough(parts_.prizeList);
    makeSeeThrough(parts_.resultsList);
    parts_.counterLabel->clear();
    FormResize();
}

void DrawScreen::FormResize()
{
    makeSeeThrough(parts_.prizeList);
    makeSeeThrough(parts_.resultsList);
    fitToClientArea();
    parts_.backgroundImage->setGeometry(rect());
    const int outerHeight = frameGeometry().height();
    parts_.counterLabel->move(
        parts_.counterLabel->x(),
        scale_.rowTop(outerHeight, layout_.value(parts_.counterLabel).height(), 100));
    parts_.resultsList->move(parts_.resultsList->x(), parts_.counterLabel->y());
    fitPrizeList();
}

void DrawScreen::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The window manager has given the window its new size on the other screen.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        coverPending_ = false;
        // Remembered once the window manager has settled it, so that the next start reads
        // the pictures at this size.
        if (isVisible())
            clientSizeTimer_->start();
    }
    keepFrameFixed();
    FormResize();
}

void DrawScreen::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() != QEvent::WindowStateChange)
        return;
    emit projectorChanged();
    // Leaving the maximised state, the new size may arrive after the new state: fix the frame
    // once both are in.
    if (windowState() & (Qt::WindowMaximized | Qt::WindowFullScreen))
        keepFrameFixed();
    else
        QTimer::singleShot(0, this, [this] { keepFrameFixed(); });
}

void DrawScreen::keepFrameFixed()
{
    // A single fixed border: out of the maximised state the frame cannot be dragged to resize
    // (the window manager is told so by equal smallest and largest sizes); maximised, the
    // window takes the whole screen.
    const Qt::WindowStates state = windowState();
    if (state & (Qt::WindowMaximized | Qt::WindowFullScreen)) {
        setMinimumSize(0, 0);
        setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    } else if (!(state & Qt::WindowMinimized) && isVisible() && !coverPending_) {
        setFixedSize(size());
    }
}

void DrawScreen::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (shown_)
        return;
    shown_ = true;
    connect(windowHandle(), &QWindow::screenChanged, this, &DrawScreen::projectorChanged);
    // Restored once the window is up, so a failure's box comes up over the shown screen.
    QMetaObject::invokeMethod(this, &DrawScreen::FormShow, Qt::QueuedConnection);
}

void DrawScreen::FormShow()
{
    runHandler(this, [this] { restoreScreen(); });
    // A restore that stopped early still shows the drawn wheel, with the names it has.
    if (drawnWheel_ && !drawnWheel_->isShown())
        runHandler(this, [this] { showWheelNames(); });
    if (!thumbnailsShown_.isEmpty())
        new FirstFrame(this, [this] { readPhotosOfThumbnails(); });
    // The draw goes on whatever the restore managed, so its journal opens in any case.
    runHandler(this, [this] { evening_->openJournal(); });
    // A moment after the first frame, not with it: asking for the sound output loads the sound
    // library (some three megabytes), and checking a long journal shares the processors.
    new FirstFrame(this, [this] {
        QTimer::singleShot(AfterFirstFrameDelayMs, this,
                           [this] { runHandler(this, [this] { evening_->firstFrameShown(); }); });
    });
}

void DrawScreen::restoreScreen()
{
    parts_.startButton->move(parts_.startButton->x(), -100);
    evening_->loadPool();

    const QString folder = workingFolder();
    parts_.backgroundImage->setPicture(backgroundPreload_->take(folder + BackgroundPicture));
    if (wheelDrawn())
        drawnWheel_ = new DrawnWheel(parts_.wheelImage, pictureCache_); // once the names are in
    else
        parts_.wheelImage->setPicture(picturesPreload_->take(folder + WheelPicture));
    parts_.pointerImage->setPicture(picturesPreload_->take(folder + PointerPicture));
    for (int k = 0; k < 8; ++k) {
        const QString path = folder + prizePicture(k + 1);
        // Told here already, a picture is not told again by the wheel that carries it too.
        reportedPictures_.insert(path);
        const PictureRead prize = picturesPreload_->take(path);
        reportedPictures_.remove(path);
        if (prize.fromThumbnail)
            thumbnailsShown_.append(prize.path);
        parts_.prizeImages[k]->setPicture(prize);
    }

    const SettingsFile settings;
    // Each place is applied left first, then top, so a bad top key leaves the left applied.
    const auto left = [this](QWidget* element, int32_t x) {
        placeElement(element, {x, layout_.value(element).y()});
    };
    const auto top = [this](QWidget* element, int32_t y) {
        placeElement(element, {layout_.value(element).x(), y});
    };
    left(parts_.pointerImage, settings.integer(SettingsKey::PointerLeft));
    top(parts_.pointerImage, settings.integer(SettingsKey::PointerTop));
    placeWheelOnPointer();
    left(parts_.titleLabel, settings.integer(SettingsKey::TitleLeft));
    top(parts_.titleLabel, settings.integer(SettingsKey::TitleTop));
    parts_.titleLabel->setText(fromGbk(settings.text(SettingsKey::TitleText)));
    QFont titleFont = layoutFonts_.value(parts_.titleLabel);
    const int32_t size = settings.integer(SettingsKey::TitleSize);
    if (size > 0)
        titleFont.setPointSize(size);
    else if (size < 0)
        titleFont.setPixelSize(-size);
    setLayoutFont(parts_.titleLabel, titleFont);
    setTextColor(parts_.titleLabel, colourFromValue(settings.integer(SettingsKey::TitleColour)));
    for (int k = 0; k < 8; ++k) {
        left(parts_.prizeImages[k], settings.integer(SettingsKey::prizePictureLeft(k + 1)));
        top(parts_.prizeImages[k], settings.integer(SettingsKey::prizePictureTop(k + 1)));
    }
    reloadPrizeNames();
    left(parts_.prizeList, settings.integer(SettingsKey::PrizeListLeft));
    top(parts_.prizeList, settings.integer(SettingsKey::PrizeListTop));
    if (!SettingsKey::isOn(settings.text(SettingsKey::ShowPrizeList)))
        parts_.prizeList->hide();
    if (!SettingsKey::isOn(settings.text(SettingsKey::ShowResults))) {
        parts_.counterLabel->hide();
        parts_.resultsList->hide();
    }
}

void DrawScreen::placeWheelOnPointer()
{
    // Integer division truncates toward zero, as the stored places always assumed.
    parts_.wheelImage->move(parts_.pointerImage->x() -
                                (parts_.wheelImage->width() - parts_.pointerImage->width()) / 2,
                            parts_.wheelImage->y());
    parts_.wheelImage->move(parts_.wheelImage->x(),
                            parts_.pointerImage->y() -
                                (parts_.wheelImage->height() - parts_.pointerImage->height()) / 2);
}

void DrawScreen::reloadPrizeNames()
{
    evening_->loadPrizeNames();
}

void DrawScreen::showPrizeNames(const QStringList& names)
{
    parts_.prizeList->setPlainText(names.join('\n'));
    updatePrizesLeft();
    if (drawnWheel_)
        showWheelNames();
}

void DrawScreen::showWheelNames()
{
    WheelContent content;
    for (int slot = 1; slot <= 8; ++slot)
        content.names[slot - 1] = prizeName(slot);
    content.fontFamily = layoutFonts_.value(parts_.prizeList).family();
    if (SettingsKey::isOn(SettingsFile().text(SettingsKey::WheelPictures)))
        content.pictures = wheelPictures();
    drawnWheel_->show(content);
}

std::array<QImage, 8> DrawScreen::wheelPictures()
{
    // Read once a run, at twice the room the wheel now gives them, so that a larger screen
    // later still shows them sharp; a picture that cannot be read is told once and left out.
    const WheelGeometry geometry(devicePixels(parts_.wheelImage->size()));
    const QString folder = workingFolder();
    for (int k = 0; k < 8; ++k) {
        const QString path = folder + prizePicture(k + 1);
        if (!wheelPictures_[k].isNull() || reportedPictures_.contains(path))
            continue;
        const QSize room = (geometry.pictureBox(k + 1).size() * 2).toSize();
        try {
            wheelPictures_[k] = readPicture(path, fixedSize(room), &pictureCache_).image;
        } catch (const AppError& error) {
            reportedPictures_.insert(path);
            showErrorBox(this, errorMessageOf(error));
        }
    }
    return wheelPictures_;
}

void DrawScreen::updatePrizesLeft()
{
    showPrizesLeft(parts_.prizeList->document(), evening_->prizesLeft());
    fitPrizeList();
}

void DrawScreen::fitPrizeList()
{
    QTextEdit* list = parts_.prizeList;
    // From the size it is given, which a hidden list has not taken yet.
    fitPrizeNames(list->document(),
                  list->contentsRect().width() - 2 * list->document()->documentMargin());
}

QString DrawScreen::prizeName(int slot) const
{
    return prizeNameOfLine(parts_.prizeList->document(), slot - 1);
}

int DrawScreen::resultsCount() const
{
    return parts_.resultsList->document()->isEmpty() ? 0
                                                     : parts_.resultsList->document()->blockCount();
}

void DrawScreen::startButtonClick()
{
    evening_->startKey();
}

void DrawScreen::spinTimerTick()
{
    evening_->tick();
}

void DrawScreen::showResult(const DrawResult& result)
{
    appendPlainLine(parts_.resultsList, AnnouncementPrefix + result.prize);
    if (result.voided) // carried on from an earlier run that took it back
        markLine(parts_.resultsList, resultsCount() - 1, VoidedMark);
}

void DrawScreen::showVoided(qsizetype index)
{
    parts_.celebration->dismiss();
    markLine(parts_.resultsList, static_cast<int>(index), VoidedMark);
    updatePrizesLeft();
}

void DrawScreen::celebrate(const QString& prize)
{
    parts_.celebration->celebrate(prize, parts_.titleLabel->palette().color(QPalette::WindowText));
    parts_.blackOut->keepInFront();
}

void DrawScreen::resultsListChange()
{
    QScrollBar* bar = parts_.resultsList->verticalScrollBar();
    bar->setValue(bar->maximum());
    // The prizes given: a draw taken back stays listed but counts no more.
    parts_.counterLabel->setText(
        CounterPrefix + QString::number(evening_->session().prizesGiven()) + QStringLiteral("个"));
}

void DrawScreen::focusTimerTick()
{
    parts_.startButton->setFocus();
}
