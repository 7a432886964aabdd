#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QTimer;
class QWidget;

// Runs work once, right after widget's next paint has been handed on, or after a short wait
// when no paint comes (the window covered or minimised); at once when widget is not shown.
class NextPaint : public QObject
{
    Q_OBJECT
public:
    explicit NextPaint(QWidget* widget);

    // Replaces work still waiting, which then does not run.
    void runAfter(std::function<void()> work);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run();

    QPointer<QWidget> widget_;
    std::function<void()> work_;
    QTimer* longestWait_;
};
