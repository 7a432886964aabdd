#include "drawscreen/presenter_key_filter.h"

#include "drawscreen/black_out_cover.h"
#include "drawscreen/presenter_keys.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

PresenterKeyFilter::PresenterKeyFilter(QWidget* screen, QWidget* startButton, BlackOutCover* cover,
                                       std::function<void()> start, std::function<void()> takeBack)
    : QObject(screen), screen_(screen), startButton_(startButton), cover_(cover),
      start_(std::move(start)), takeBack_(std::move(takeBack))
{
    qApp->installEventFilter(this);
}

PresenterKeyFilter::~PresenterKeyFilter()
{
    qApp->removeEventFilter(this);
}

bool PresenterKeyFilter::screenTakesKeys(QObject* watched) const
{
    if (!watched->isWidgetType() || static_cast<QWidget*>(watched)->window() != screen_)
        return false;
    return screen_->isActiveWindow() && !QApplication::activePopupWidget() &&
           !QApplication::activeModalWidget();
}

bool PresenterKeyFilter::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if ((type != QEvent::KeyPress && type != QEvent::KeyRelease) || !screenTakesKeys(watched))
        return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    const PresenterAction action = presenterAction(key->key(), key->modifiers(), cover_->black());
    if (action == PresenterAction::None)
        return false;
    if (action == PresenterAction::Start && isStartButtonKey(key->key()) &&
        QApplication::focusWidget() == startButton_)
        return false;
    // A key acts once, when pressed; holding it down repeats nothing.
    if (type == QEvent::KeyRelease || key->isAutoRepeat())
        return true;
    switch (action) {
    case PresenterAction::Start:
        start_();
        break;
    case PresenterAction::ToggleBlackOut:
        cover_->toggle();
        break;
    case PresenterAction::EndBlackOut:
        cover_->setBlack(false);
        break;
    case PresenterAction::TakeBack:
        takeBack_();
        break;
    case PresenterAction::None:
    case PresenterAction::Swallow:
        break;
    }
    return true;
}
