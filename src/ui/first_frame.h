#pragma once

#include <QObject>
#include <QPointer>
#include <functional>

class QWidget;

// Runs work once, right after window has painted its first frame, or after a few seconds if it
// has not painted by then: what the first frame does not need waits for it.
class FirstFrame : public QObject
{
    Q_OBJECT
public:
    FirstFrame(QWidget* window, std::function<void()> work);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void run();

    QPointer<QWidget> window_;
    std::function<void()> work_;
};
