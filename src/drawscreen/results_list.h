#pragma once

#include <QTextEdit>

// The results list: a rich-text list that shows whole lines only, however its size and font
// change. Its visible part is cut to the whole lines that fit, so that scrolling to the end
// shows the newest lines whole with no cut line above them; at every change of size or of
// the text's layout it scrolls to its end, the newest line in view.
class ResultsList : public QTextEdit
{
    Q_OBJECT

public:
    explicit ResultsList(QWidget* parent);

    // Cuts the visible part to the newest lines that fit and scrolls to them.
    void showNewestLines();

protected:
    void resizeEvent(QResizeEvent* event) override;
};
