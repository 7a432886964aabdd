#include "ui/fonts.h"

#include <QFont>
#include <QStringList>

void installFontSubstitutions()
{
    QFont::insertSubstitutions(QStringLiteral("黑体"), QStringList()
                                                           << QStringLiteral("WenQuanYi Zen Hei")
                                                           << QStringLiteral("Noto Sans CJK SC"));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"),
                               QStringList() << QStringLiteral("DejaVu Sans")
                                             << QStringLiteral("WenQuanYi Zen Hei"));
}
