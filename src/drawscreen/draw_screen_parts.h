#pragma once

#include <array>

class BlackOutCover;
class CelebrationOverlay;
class ImageControl;
class MediaPlayer;
class QAction;
class QLabel;
class QMenu;
class QPushButton;
class QTextEdit;
class QTimer;
class RotatingImage;

// The draw screen's components, back to front, made and owned by the draw screen. Its
// handlers reach them by these names; the program's own wiring and the tests read them.
struct DrawScreenParts
{
    ImageControl* emptyBackImage = nullptr;
    ImageControl* backgroundImage = nullptr;
    RotatingImage* wheelImage = nullptr;
    RotatingImage* pointerImage = nullptr;
    QLabel* titleLabel = nullptr;
    ImageControl* emptyFrontImage = nullptr;
    std::array<ImageControl*, 8> prizeImages{};
    QLabel* counterLabel = nullptr;
    QLabel* debugLabel = nullptr;
    QPushButton* startButton = nullptr;
    QTextEdit* prizeList = nullptr;
    QTextEdit* resultsList = nullptr;
    MediaPlayer* soundPlayer = nullptr;
    QTimer* spinTimer = nullptr;
    QTimer* focusTimer = nullptr;
    QMenu* contextMenu = nullptr;
    QAction* voidAction = nullptr; // takes the latest draw back
    QAction* switchScreenAction = nullptr;
    QAction* operatorWindowAction = nullptr; // the operator's own window, F2 too
    QAction* fullScreenAction = nullptr;
    // In front of everything: the celebration at a stop.
    CelebrationOverlay* celebration = nullptr;
    // In front of the celebration: the screen blacked out from the presenter remote.
    BlackOutCover* blackOut = nullptr;
};
