#include "settings/line_list.h"

#include "datafiles/text_file.h"

void LineList::setText(const QByteArray& text)
{
    lines_ = splitLines(text);
    pad(MinimumLines);
}

QByteArray LineList::text() const
{
    return joinLines(lines_);
}

QByteArray LineList::line(int index) const
{
    return index >= 0 && index < lines_.size() ? lines_[index] : QByteArray();
}

void LineList::setLine(int index, const QByteArray& line)
{
    if (index < 0)
        return;
    pad(index + 1);
    lines_[index] = line;
}

void LineList::pad(int count)
{
    while (lines_.size() < count)
        lines_.append(QByteArray());
}
