#include "settings/colour_picker.h"

#include "datafiles/colour_value.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace {

struct StandardColour
{
    const char* name;
    int32_t value;
};

// The sixteen basic colours, in the usual order of a colour list.
const StandardColour StandardColours[] = {
    {"黑色", 0x000000},   {"栗色", 0x000080},   {"绿色", 0x008000},   {"橄榄色", 0x008080},
    {"藏青色", 0x800000}, {"紫色", 0x800080},   {"蓝绿色", 0x808000}, {"灰色", 0x808080},
    {"银色", 0xC0C0C0},   {"红色", 0x0000FF},   {"酸橙色", 0x00FF00}, {"黄色", 0x00FFFF},
    {"蓝色", 0xFF0000},   {"紫红色", 0xFF00FF}, {"水绿色", 0xFFFF00}, {"白色", 0xFFFFFF},
};
constexpr int StandardCount = static_cast<int>(std::size(StandardColours));

QIcon swatch(int32_t value)
{
    QPixmap pixmap(24, 12);
    pixmap.fill(colourFromValue(value));
    QPainter painter(&pixmap);
    painter.setPen(Qt::darkGray);
    painter.drawRect(pixmap.rect().adjusted(0, 0, -1, -1));
    return QIcon(pixmap);
}

QString customName(int32_t value)
{
    return QStringLiteral("自定义 %1").arg(colourFromValue(value).name().toUpper());
}

std::optional<QColor> askColourDialog(QWidget* parent, const QColor& initial)
{
    const QColor chosen = QColorDialog::getColor(initial, parent, QStringLiteral("颜色"));
    if (!chosen.isValid())
        return std::nullopt;
    return chosen;
}

} // namespace

ColourPicker::ColourPicker(QWidget* parent) : QComboBox(parent), chooser_(askColourDialog)
{
    setIconSize(QSize(24, 12));
    for (const StandardColour& colour : StandardColours)
        addItem(swatch(colour.value), QString::fromUtf8(colour.name), colour.value);
    addItem(QStringLiteral("其他颜色..."));
    connect(this, &QComboBox::activated, this, &ColourPicker::onActivated);
    showValue();
}

void ColourPicker::setColorValue(int32_t value)
{
    const bool changed = value != value_;
    value_ = value;
    showValue();
    if (changed)
        emit colorValueChanged(value_);
}

void ColourPicker::onActivated(int index)
{
    const bool isOther = index == count() - 1;
    if (!isOther) {
        setColorValue(itemData(index).toInt());
        return;
    }
    if (const auto chosen = chooser_(this, colourFromValue(value_)))
        setColorValue(valueFromColour(*chosen));
    else
        showValue(); // back to the colour that was selected
}

void ColourPicker::showValue()
{
    for (int i = 0; i < StandardCount; ++i) {
        if (itemData(i).toInt() == value_) {
            if (customIndex_ >= 0) {
                removeItem(customIndex_);
                customIndex_ = -1;
            }
            setCurrentIndex(i);
            return;
        }
    }
    if (customIndex_ < 0) {
        customIndex_ = StandardCount;
        insertItem(customIndex_, QString(), QVariant());
    }
    setItemIcon(customIndex_, swatch(value_));
    setItemText(customIndex_, customName(value_));
    setItemData(customIndex_, value_);
    setCurrentIndex(customIndex_);
}
