#pragma once

#include <QAbstractSpinBox>
#include <QString>
#include <cstdint>

// What a quantity text counts as: the number it reads as, or 0 (the boxes' minimum) for a
// text that reads as no number.
int32_t quantityValue(const QString& text);

// A quantity of one prize: whole numbers 0 to 1000 stepped by its buttons and arrow keys
// (Page Up and Page Down step 10); nothing can be typed. Its text is kept as given, so a value
// from the quantity file outside the range shows and counts as it is until a step clamps it.
class QuantityBox : public QAbstractSpinBox
{
    Q_OBJECT
    // Read by the accessibility bridge as the box's value and its range.
    Q_PROPERTY(int value READ value NOTIFY textChanged)
    Q_PROPERTY(int minimum READ minimum CONSTANT)
    Q_PROPERTY(int maximum READ maximum CONSTANT)

public:
    static constexpr int32_t Minimum = 0;
    static constexpr int32_t Maximum = 1000;

    explicit QuantityBox(QWidget* parent = nullptr);

    // Emits textChanged when the text differs from the current one.
    void setText(const QString& text);

    void stepBy(int steps) override;

    // The number the box shows, as it counts (quantityValue).
    int value() const { return quantityValue(text()); }
    int minimum() const { return Minimum; }
    int maximum() const { return Maximum; }

    // The narrowest box at least minimumWidth wide whose field shows "1000" whole.
    int widthShowingMaximum(int minimumWidth) const;

signals:
    void textChanged(const QString& text);

protected:
    StepEnabled stepEnabled() const override;
};
