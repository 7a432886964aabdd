#pragma once

#include <QWidget>

// A black cover over the whole of its parent, celebration included: the screen goes dark in
// front of the audience while everything beneath it goes on as usual.
class BlackOutCover : public QWidget
{
    Q_OBJECT

public:
    explicit BlackOutCover(QWidget* parent);

    bool black() const { return !isHidden(); }
    void setBlack(bool black);
    void toggle() { setBlack(!black()); }
    // Puts the cover back in front after another element raised itself.
    void keepInFront();

signals:
    void blackChanged(bool black);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
