#include "export/results_rtf.h"

#include "datafiles/gbk.h"

namespace {

void appendEscaped(QByteArray* out, const QString& text)
{
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text[i];
        const ushort u = ch.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out->append('\\').append(static_cast<char>(u));
        } else if (u == '\t') {
            out->append("\\tab ");
        } else if (u >= 0x20 && u < 0x80) {
            out->append(static_cast<char>(u));
        } else if (u < 0x20) {
            continue; // control characters have no place in a line of text
        } else {
            const QString one =
                ch.isHighSurrogate() && i + 1 < text.size() ? text.mid(i++, 2) : QString(ch);
            if (!firstNonGbkCharacter(one)) {
                for (const char b : toGbk(one))
                    out->append(QByteArray("\\'") +
                                QByteArray::number(static_cast<unsigned char>(b), 16)
                                    .rightJustified(2, '0'));
            } else {
                // RTF numbers are signed 16-bit; a character beyond that range is skipped.
                for (const char16_t unit : one.toStdU16String())
                    out->append("\\u" + QByteArray::number(static_cast<int16_t>(unit)) + '?');
            }
        }
    }
}

} // namespace

QByteArray resultsRtf(const QStringList& lines, const QString& fontFamily, int pointSize,
                      const QColor& color)
{
    QByteArray out;
    out += "{\\rtf1\\ansi\\ansicpg936\\deff0\\deflang2052";
    out += "{\\fonttbl{\\f0\\fnil\\fcharset134 ";
    appendEscaped(&out, fontFamily);
    out += ";}}\r\n";
    out += "{\\colortbl ;\\red" + QByteArray::number(color.red()) + "\\green" +
           QByteArray::number(color.green()) + "\\blue" + QByteArray::number(color.blue()) +
           ";}\r\n";
    out += "\\viewkind4\\uc1\\pard\\cf1\\b\\f0\\fs" + QByteArray::number(pointSize * 2) + ' ';
    for (const QString& line : lines) {
        appendEscaped(&out, line);
        out += "\\par\r\n";
    }
    out += "}\r\n";
    return out;
}
