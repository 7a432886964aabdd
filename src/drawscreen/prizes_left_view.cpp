#include "drawscreen/prizes_left_view.h"

#include "draw/remaining_prizes.h"

#include <QColor>
#include <QFontMetricsF>
#include <QList>
#include <QPair>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Marks the characters of a count in their format.
constexpr int CountMark = QTextFormat::UserProperty + 1;
// The whole name of a line whose name is shown shortened, in its block's format.
constexpr int WholeName = QTextFormat::UserProperty + 2;
const QString Ellipsis = QStringLiteral("…");
// Between a name and its count.
const QString Gap = QStringLiteral("  ");
const QColor NoneLeftColour(150, 150, 150);

bool isCount(const QTextFragment& fragment)
{
    return fragment.charFormat().boolProperty(CountMark);
}

// Where the count of block begins: its end when it shows none.
int nameEnd(const QTextBlock& block)
{
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (isCount(it.fragment()))
            return it.fragment().position();
    return block.position() + block.length() - 1;
}

// The name as shown, without the count.
QString shownName(const QTextBlock& block)
{
    QString name;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (!isCount(it.fragment()))
            name += it.fragment().text();
    return name;
}

QString wholeName(const QTextBlock& block)
{
    const QVariant whole = block.blockFormat().property(WholeName);
    return whole.isValid() ? whole.toString() : shownName(block);
}

// Shows name on the line of block in place of the name shown, in the same format; the block
// keeps the whole name when name is a shortened one.
void showName(QTextCursor& cursor, const QTextBlock& block, const QString& name,
              const QString& whole)
{
    cursor.setPosition(block.position());
    QTextBlockFormat format = block.blockFormat();
    const QVariant kept = name == whole ? QVariant() : QVariant(whole);
    if (format.property(WholeName) != kept) {
        if (kept.isValid())
            format.setProperty(WholeName, kept);
        else
            format.clearProperty(WholeName);
        cursor.setBlockFormat(format);
    }
    if (name == shownName(block))
        return;
    const auto first = block.begin();
    const QTextCharFormat nameFormat = first.atEnd() || isCount(first.fragment())
                                           ? QTextCharFormat()
                                           : first.fragment().charFormat();
    cursor.setPosition(nameEnd(block), QTextCursor::KeepAnchor);
    cursor.insertText(name, nameFormat);
}

// The longest start of name that, with "…" after it, is at most width pixels wide.
QString shortened(const QString& name, qreal width, const QFontMetricsF& metrics)
{
    const QString elided = metrics.elidedText(name, Qt::ElideRight, width);
    return elided.endsWith(Ellipsis) ? elided : Ellipsis;
}

} // namespace

QString prizeNameOfLine(const QTextDocument* list, int line)
{
    const QTextBlock block = list->findBlockByNumber(line);
    return block.isValid() ? wholeName(block) : QString();
}

void fitPrizeNames(QTextDocument* list, qreal width)
{
    const QFontMetricsF metrics(list->defaultFont());
    QTextCursor cursor(list);
    cursor.beginEditBlock();
    for (QTextBlock block = list->begin(); block.isValid(); block = block.next()) {
        const QString whole = wholeName(block);
        const QString count = block.text().mid(nameEnd(block) - block.position());
        const qreal countWidth = metrics.horizontalAdvance(count);
        const QString name = metrics.horizontalAdvance(whole + count) <= width
                                 ? whole
                                 : shortened(whole, width - countWidth, metrics);
        showName(cursor, block, name, whole);
    }
    cursor.endEditBlock();
}

void showPrizesLeft(QTextDocument* list, const std::optional<std::array<int, 8>>& counts)
{
    QTextCursor cursor(list);
    cursor.beginEditBlock();
    for (int line = 0; line < 8; ++line) {
        const QTextBlock block = list->findBlockByNumber(line);
        if (!block.isValid())
            break;
        const int left = counts ? (*counts)[static_cast<size_t>(line)] : 0;
        // A line that already shows its count stays untouched: editing it would lay out and
        // repaint the list in the tick that stops the spin.
        const QString wanted = counts ? Gap + prizesLeftText(left) : QString();
        if (block.text().mid(nameEnd(block) - block.position()) == wanted)
            continue;
        // The counts go beside the whole name; fitPrizeNames shortens it again if need be.
        showName(cursor, block, wholeName(block), wholeName(block));
        const int start = block.position();
        const int end = block.position() + block.length() - 1;
        const int nameStop = nameEnd(block);
        // The old count goes, and the name is drawn as the list draws any text again.
        cursor.setPosition(nameStop);
        cursor.setPosition(end, QTextCursor::KeepAnchor);
        cursor.removeSelectedText();
        cursor.setPosition(start);
        cursor.setPosition(nameStop, QTextCursor::KeepAnchor);
        cursor.setCharFormat(QTextCharFormat());
        if (!counts)
            continue;
        QTextCharFormat countFormat;
        countFormat.setProperty(CountMark, true);
        if (left <= 0) {
            QTextCharFormat gone;
            gone.setForeground(NoneLeftColour);
            gone.setFontStrikeOut(true);
            cursor.setCharFormat(gone);
            countFormat.setForeground(NoneLeftColour);
        }
        cursor.setPosition(nameStop);
        cursor.insertText(wanted, countFormat);
    }
    cursor.endEditBlock();
}
