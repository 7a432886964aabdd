#pragma once

#include "datafiles/picture_cache.h"
#include "datafiles/picture_reader.h"
#include "draw/draw_session.h"
#include "drawscreen/draw_screen_parts.h"
#include "drawscreen/projector_state.h"
#include "drawscreen/screen_scale.h"
#include "evening/draw_evening.h"

#include <QFont>
#include <QHash>
#include <QImage>
#include <QSet>
#include <QList>
#include <QPointer>
#include <QRect>
#include <QStringList>
#include <QWidget>
#include <array>
#include <functional>
#include <memory>
#include <cstdint>

class DrawnWheel;
class Journal;
class MediaSoundCues;
class PicturePreload;
class QScreen;
class QTimer;
class SettingsDialog;
class SettingsFile;

// The main window, the stage of the evening: the wheel, the pointer that spins over it, the
// event title, the prize pictures and names, and the running results, as the evening reports
// them; arranging, fitting and the celebration are its own. Every setting is read from the
// settings file when it is needed; nothing of it is kept here.
class DrawScreen : public QWidget
{
    Q_OBJECT

public:
    // Shows evening; without one, an evening of its own.
    explicit DrawScreen(DrawEvening* evening = nullptr, QWidget* parent = nullptr);
    ~DrawScreen() override;

    // Makes the settings dialog the context menu opens, the first time it is needed.
    void setSettingsDialogFactory(std::function<SettingsDialog*()> factory)
    {
        settingsDialogFactory_ = std::move(factory);
    }

    // Replaces the clock the random draws are seeded from (tests pin it).
    void setRandomClock(RandomSource::Clock clock) { evening_->setRandomClock(std::move(clock)); }
    // Replaces the millisecond clock a key-stop spin is timed by (tests pass fake time).
    void setMillisecondClock(std::function<int64_t()> clock)
    {
        evening_->setMillisecondClock(std::move(clock));
    }

    // Shows the window on the screen and in the state (maximised or full screen) the operator
    // chose last time; without a remembered screen it opens where it always did.
    void showAsRemembered();

    // Start-up and restore.
    void FormCreate();
    void FormShow();
    void FormResize();
    void reloadPrizeNames();
    // Shows the prizes left of the pool beside the names (quota mode, when wanted), or none.
    void updatePrizesLeft();

    // The spin.
    void startButtonClick();
    void spinTimerTick();
    void focusTimerTick();
    void resultsListChange();

    // Dragging the title, pointer, prize pictures and name list: one handler per mouse event,
    // told which element it reached (X, Y relative to that element).
    void elementMouseDown(QWidget* element, QMouseEvent* event);
    void elementMouseMove(QWidget* element, QMouseEvent* event);
    void elementMouseUp(QWidget* element, QMouseEvent* event);

    // The context menu, saving the results and closing.
    void settingsItemClick();
    void saveResultsItemClick();
    // Takes the latest draw still given back, once the operator says yes (Delete too).
    void voidResultItemClick();
    void helpItemClick();
    void exitItemClick();
    // The screen and full-screen items (F11 too).
    void switchScreenItemClick();
    void fullScreenItemClick();
    // The black-out, as B does.
    void blackOutItemClick();
    // The operator window's item: whether there is one to show, and whether it shows.
    void setOperatorWindowItem(bool available, bool shown);
    // What the hall sees.
    ProjectorState projectorState() const;

    // The components, back to front: the program's own wiring and the tests reach them here.
    const DrawScreenParts& parts() const { return parts_; }

    // The prize name of a slot (1 to 8) as the prize-name list shows it; empty when missing.
    QString prizeName(int slot) const;
    // Lines in the results list, taken back or not.
    int resultsCount() const;
    // The evening this screen shows, and its draw: the mode rules, the pool, the results.
    DrawEvening& evening() { return *evening_; }
    DrawSession& session() { return evening_->session(); }
    // The wheel the program draws with the prize names; null while it shows its picture.
    const DrawnWheel* drawnWheel() const { return drawnWheel_; }
    // The draw journal of this run, once the screen is restored.
    Journal* journal() const { return evening_->journal(); }

    // How the layout is fitted to the client area now (the identity without a layout size).
    const ScreenScale& screenScale() const { return scale_; }
    // The visible elements and where they are on the screen, one "name x y width height" a
    // line, in the order they are stacked.
    QString geometryReport() const;

signals:
    // The operator window's item or F2.
    void operatorWindowAsked();
    // What the hall sees changed: blacked out or back, full screen or not, another screen.
    void projectorChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildComponents();
    void buildContextMenu();
    void buildScreenItems();
    void updateScreenItems();
    void coverScreen(bool fullScreen);
    void placeOn(QScreen* target);
    void moveToScreen(QScreen* target);
    void screenGone(QScreen* gone);
    void restoreScreen();
    void showEvening();
    void showPrizeNames(const QStringList& names);
    void showResult(const DrawResult& result);
    void showVoided(qsizetype index);
    void placeWheelOnPointer();
    void showWheelNames();
    std::array<QImage, 8> wheelPictures();
    void keepFrameFixed();
    void rememberLayout();
    void placeElement(QWidget* element, QPoint layoutPlace);
    void setLayoutFont(QWidget* element, const QFont& font);
    void fitToClientArea();
    void startPictureReads();
    void readPhotosOfThumbnails();
    void showPhotoRead(const QString& path);
    void guessClientSize();
    QSize readAheadClientSize() const;
    QSize readAheadSize(QWidget* element) const;
    QSize devicePixels(QSize size) const;
    void applyScreenScale();
    // Shortens the names too long for the prize-name list at its size, their counts whole.
    void fitPrizeList();
    void celebrate(const QString& prize);

    DrawScreenParts parts_;
    const PictureCache pictureCache_;
    // The space the window expected to cover when the pictures were read ahead, on which
    // screen, and the client area it then read them for.
    QSize readAheadGuess_;
    QPointer<QScreen> readAheadScreen_;
    QSize readAheadClient_;
    QTimer* clientSizeTimer_ = nullptr;
    std::unique_ptr<PicturePreload> backgroundPreload_;
    std::unique_ptr<PicturePreload> picturesPreload_; // the wheel's, pointer's and prizes'
    // The sizes those pictures were read for at start-up, each a path's.
    QHash<QString, ShownSize> pictureShown_;
    // The prize photos shown from their cameras' thumbnails, and the reads of the photos
    // themselves that replace them once the restored screen is up.
    QStringList thumbnailsShown_;
    std::unique_ptr<PicturePreload> photosPreload_;
    // The drawn wheel, the prize pictures it carries, and the pictures already told to be
    // unreadable this run.
    DrawnWheel* drawnWheel_ = nullptr;
    std::array<QImage, 8> wheelPictures_;
    QSet<QString> reportedPictures_;

    std::function<SettingsDialog*()> settingsDialogFactory_;
    SettingsDialog* settingsDialog_ = nullptr;
    // The evening shown, the one made here when none was given, and the speakers it plays on.
    std::unique_ptr<DrawEvening> ownEvening_;
    DrawEvening* evening_;
    std::unique_ptr<MediaSoundCues> sounds_;
    bool shown_ = false;
    // On its way to another screen, the window passes through the normal state; a fixed size
    // then would keep the window manager from maximising it again. Until the new size is in.
    bool coverPending_ = false;
    // Each scaled element's place, size and font in layout pixels; the screen shows them
    // through scale_.
    QHash<QWidget*, QRect> layout_;
    QHash<QWidget*, QFont> layoutFonts_;
    ScreenScale scale_;
    // One drag flag and one grab point shared by every element.
    bool dragging_ = false;
    QPoint grab_;
};
