#include "drawscreen/prizes_left_view.h"

#include "draw/remaining_prizes.h"

#include <QColor>
#include <QList>
#include <QPair>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace {

// Marks the characters of a count in their format.
constexpr int CountMark = QTextFormat::UserProperty + 1;
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

} // namespace

QString prizeNameOfLine(const QTextDocument* list, int line)
{
    const QTextBlock block = list->findBlockByNumber(line);
    if (!block.isValid())
        return QString();
    QString name;
    for (auto it = block.begin(); !it.atEnd(); ++it)
        if (!isCount(it.fragment()))
            name += it.fragment().text();
    return name;
}

void showPrizesLeft(QTextDocument* list, const std::optional<std::array<int, 8>>& counts)
{
    QTextCursor cursor(list);
    cursor.beginEditBlock();
    for (int line = 0; line < 8; ++line) {
        const QTextBlock block = list->findBlockByNumber(line);
        if (!block.isValid())
            break;
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
        const int left = (*counts)[static_cast<size_t>(line)];
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
        cursor.insertText(Gap + prizesLeftText(left), countFormat);
    }
    cursor.endEditBlock();
}
