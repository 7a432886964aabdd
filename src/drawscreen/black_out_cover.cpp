#include "drawscreen/black_out_cover.h"

#include <QEvent>
#include <QPalette>

BlackOutCover::BlackOutCover(QWidget* parent) : QWidget(parent)
{
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::black);
    setPalette(palette);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    setAccessibleName(QStringLiteral("黑屏"));
    hide();
    setGeometry(parent->rect());
    parent->installEventFilter(this);
}

void BlackOutCover::setBlack(bool black)
{
    if (black) {
        setGeometry(parentWidget()->rect());
        raise();
    }
    const bool changed = black != this->black();
    setVisible(black);
    if (changed)
        emit blackChanged(black);
}

void BlackOutCover::keepInFront()
{
    if (black())
        raise();
}

bool BlackOutCover::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return QWidget::eventFilter(watched, event);
}
