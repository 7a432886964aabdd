#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>

// The colour a label or list draws its text in, enabled or not: the results list is disabled
// and must still read white on the stage.
inline void setTextColor(QWidget* widget, const QColor& color)
{
    QPalette palette = widget->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        palette.setColor(group, QPalette::WindowText, color);
        palette.setColor(group, QPalette::Text, color);
    }
    widget->setPalette(palette);
}
