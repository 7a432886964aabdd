#pragma once

#include <QObject>
#include <functional>

class BlackOutCover;
class QWidget;

// Takes the keys of a presenter remote for the draw screen before any of its elements sees
// them, so they work whichever element has the focus. Only while the draw screen is the active
// window and no menu, message box or dialog is up: there the keys are theirs.
class PresenterKeyFilter : public QObject
{
    Q_OBJECT

public:
    // start does what the start key does, takeBack what Delete does; startButton keeps Space
    // and Enter while it has the focus, so they act on it as they always have.
    PresenterKeyFilter(QWidget* screen, QWidget* startButton, BlackOutCover* cover,
                       std::function<void()> start, std::function<void()> takeBack);
    ~PresenterKeyFilter() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool screenTakesKeys(QObject* watched) const;

    QWidget* screen_;
    QWidget* startButton_;
    BlackOutCover* cover_;
    std::function<void()> start_;
    std::function<void()> takeBack_;
};
