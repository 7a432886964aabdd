#include "settings/quantity_box.h"

#include "datafiles/gbk.h"
#include "datafiles/integer_conversion.h"

#include <QAccessible>
#include <QLineEdit>
#include <QStyle>
#include <QStyleOptionSpinBox>
#include <algorithm>

int32_t quantityValue(const QString& text)
{
    return tryParseInteger(toGbk(text)).value_or(QuantityBox::Minimum);
}

QuantityBox::QuantityBox(QWidget* parent) : QAbstractSpinBox(parent)
{
    // Read-only for typing only: the buttons and keys still step through stepBy.
    lineEdit()->setReadOnly(true);
    lineEdit()->setText(QStringLiteral("0"));
    connect(lineEdit(), &QLineEdit::textChanged, this, &QuantityBox::textChanged);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this](const QString& shown) {
        QAccessibleValueChangeEvent changed(this, quantityValue(shown));
        QAccessible::updateAccessibility(&changed);
    });
}

void QuantityBox::setText(const QString& text)
{
    lineEdit()->setText(text);
}

void QuantityBox::stepBy(int steps)
{
    const int64_t next = int64_t{quantityValue(text())} + steps;
    setText(QString::number(std::clamp<int64_t>(next, Minimum, Maximum)));
}

QAbstractSpinBox::StepEnabled QuantityBox::stepEnabled() const
{
    const int32_t value = quantityValue(text());
    StepEnabled enabled = StepNone;
    if (value < Maximum)
        enabled |= StepUpEnabled;
    if (value > Minimum)
        enabled |= StepDownEnabled;
    return enabled;
}

int QuantityBox::widthShowingMaximum(int minimumWidth) const
{
    // The field's own margins and the cursor take a few pixels beside the text.
    const int needed = lineEdit()->fontMetrics().horizontalAdvance(QString::number(Maximum)) + 6;
    QStyleOptionSpinBox option;
    initStyleOption(&option);
    for (int width = minimumWidth;; ++width) {
        option.rect = QRect(0, 0, width, height());
        const QRect field =
            style()->subControlRect(QStyle::CC_SpinBox, &option, QStyle::SC_SpinBoxEditField, this);
        if (field.width() >= needed || width >= minimumWidth * 2)
            return width;
    }
}
