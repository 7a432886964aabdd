#pragma once

#include <QPointer>
#include <QWidget>

class DrawEvening;
class DrawScreen;
class QLabel;
class QListWidget;
class QPushButton;
class QScreen;
class QTextEdit;

// The operator's own window, on another screen than the draw screen's: everything the hall
// sees and what it does not (results with their times, the journal, the sound), and buttons
// and keys for what the draw screen's keys and menu do, which they do by the draw screen's
// own handlers. It shows only while wanted and while two screens or more are connected, and
// follows the screens as they come and go.
class OperatorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit OperatorWindow(DrawScreen* stage);

    // Wanted as the settings say (caozuo_chuangkou), and shown if it can be.
    void showAsRemembered();
    // The settings say it was shown when the program last ended.
    static bool rememberedShown();
    // Wanted or not, remembered for the next start; shown or hidden as it can be.
    void setWanted(bool wanted);
    bool wanted() const { return wanted_; }
    // Two screens or more are connected: there is another screen to show it on.
    bool available() const;

    // The buttons, for the program's tests.
    QPushButton* startButton() const { return start_; }
    QPushButton* takeBackButton() const { return takeBack_; }
    QPushButton* blackOutButton() const { return blackOut_; }
    QPushButton* saveButton() const { return save_; }
    QPushButton* fullScreenButton() const { return fullScreen_; }
    QPushButton* switchScreenButton() const { return switchScreen_; }
    QPushButton* settingsButton() const { return settings_; }
    QPushButton* exitButton() const { return exit_; }
    QString statusText() const;

signals:
    void shownChanged(bool shown);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    QPushButton* button(const QString& text, void (DrawScreen::*handler)());
    void follow();
    void placeOn(QScreen* target);
    void showTitle();
    void showPrizes();
    void showResults();
    void showStatus();

    DrawScreen* stage_;
    DrawEvening* evening_;
    bool wanted_ = false;
    QPointer<QScreen> placedOn_;
    QLabel* title_;
    QTextEdit* prizes_;
    QListWidget* results_;
    QLabel* counter_;
    QLabel* mode_;
    QLabel* projector_;
    QLabel* journal_;
    QLabel* sound_;
    QPushButton* start_;
    QPushButton* takeBack_;
    QPushButton* blackOut_;
    QPushButton* save_;
    QPushButton* fullScreen_;
    QPushButton* switchScreen_;
    QPushButton* settings_;
    QPushButton* exit_;
};
