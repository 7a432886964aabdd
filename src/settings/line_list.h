#pragma once

#include <QByteArray>
#include <QList>

// The text of a prize file edited line by line: a line is addressed by its number, and
// replacing one changes no other. The prize files always hold a line per prize, so a shorter
// text is padded with empty lines; an entry for a missing line is then never lost.
class LineList
{
public:
    static constexpr int MinimumLines = 8;

    LineList() { pad(MinimumLines); }

    // Takes the text of a file; line breaks may be CR LF, CR or LF.
    void setText(const QByteArray& text);
    // The lines, each followed by CR LF.
    QByteArray text() const;

    int count() const { return static_cast<int>(lines_.size()); }
    // An empty text for a line that does not exist.
    QByteArray line(int index) const;
    void setLine(int index, const QByteArray& line);

private:
    void pad(int count);

    QList<QByteArray> lines_;
};
