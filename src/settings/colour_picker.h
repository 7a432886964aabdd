#pragma once

#include <QComboBox>
#include <cstdint>
#include <functional>
#include <optional>

// Chooses the title colour: sixteen standard colours, the current colour when it is none of
// them, and an entry that opens the colour dialog for any other. The value is a stored colour
// value (0x00BBGGRR) and is kept exactly as set until the operator picks another colour.
class ColourPicker : public QComboBox
{
    Q_OBJECT

public:
    // Asks the operator for a colour, starting from the given one; none when cancelled.
    using ColourChooser = std::function<std::optional<QColor>(QWidget* parent, const QColor&)>;

    explicit ColourPicker(QWidget* parent = nullptr);

    int32_t colorValue() const { return value_; }
    void setColorValue(int32_t value);

    // Tests answer instead of the modal colour dialog.
    void setColourChooser(ColourChooser chooser) { chooser_ = std::move(chooser); }

signals:
    void colorValueChanged(int32_t value);

private:
    void onActivated(int index);
    void showValue();

    int32_t value_ = 0;
    int customIndex_ = -1; // the entry of a colour that is not a standard one, -1 when absent
    ColourChooser chooser_;
};
