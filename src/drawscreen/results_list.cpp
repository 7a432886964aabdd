#include "drawscreen/results_list.h"

#include "drawscreen/lines_in_view.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextLayout>
#include <algorithm>

namespace {

// Around the text, as the list's document margin was: the text keeps its place.
constexpr int Margin = 4;

} // namespace

ResultsList::ResultsList(QWidget* parent) : QTextEdit(parent)
{
    // The margin is kept by the viewport instead, so that the visible part can end at a line.
    document()->setDocumentMargin(0);
    setViewportMargins(Margin, Margin, Margin, 0);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            &ResultsList::showNewestLines);
}

void ResultsList::showNewestLines()
{
    const int available = std::max(0, contentsRect().height() - Margin);
    // The newest lines, back to the first that no longer fits.
    QList<TextLine> lines;
    QAbstractTextDocumentLayout* layout = document()->documentLayout();
    for (QTextBlock block = document()->lastBlock(); block.isValid(); block = block.previous()) {
        const qreal top = layout->blockBoundingRect(block).top();
        const QTextLayout* text = block.layout();
        for (int i = text->lineCount() - 1; i >= 0; --i)
            lines.prepend({top + text->lineAt(i).y(), text->lineAt(i).height()});
        if (!lines.isEmpty() &&
            lines.last().top + lines.last().height - lines.first().top > available)
            break;
    }
    const LinesInView view = newestLinesInView(lines, available);
    setViewportMargins(Margin, Margin, Margin, std::max(0, available - view.height));
    verticalScrollBar()->setValue(view.scrollTop);
}

void ResultsList::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    showNewestLines();
}
