#include "settings/colour_picker.h"
#include "datafiles/colour_value.h"
#include "settings/line_list.h"
#include "settings/quantity_box.h"

#include <QAccessible>
#include <QApplication>
#include <QKeyEvent>
#include <gtest/gtest.h>

namespace {

void pressKey(QWidget* widget, int key, const QString& text = QString())
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(widget, &release);
}

} // namespace

TEST(QuantityBox, StaysWithinZeroToThousandWhenStepped)
{
    QuantityBox box;
    box.setText(QStringLiteral("1000"));
    box.stepUp();
    pressKey(&box, Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("1000"));

    box.setText(QStringLiteral("0"));
    box.stepDown();
    pressKey(&box, Qt::Key_Down);
    EXPECT_EQ(box.text(), QStringLiteral("0"));

    box.setText(QStringLiteral("995"));
    box.stepBy(10);
    EXPECT_EQ(box.text(), QStringLiteral("1000"));
}

TEST(QuantityBox, StepsByOneWithArrowsAndTenWithPageKeys)
{
    QuantityBox box;
    pressKey(&box, Qt::Key_Up);
    EXPECT_EQ(box.text(), QStringLiteral("1"));
    pressKey(&box, Qt::Key_PageUp);
    EXPECT_EQ(box.text(), QStringLiteral("11"));
    pressKey(&box, Qt::Key_Down);
    pressKey(&box, Qt::Key_PageDown);
    EXPECT_EQ(box.text(), QStringLiteral("0"));
}

TEST(QuantityBox, TakesNoTypedInput)
{
    QuantityBox box;
    box.setText(QStringLiteral("12"));
    pressKey(&box, Qt::Key_7, QStringLiteral("7"));
    pressKey(&box, Qt::Key_Backspace);
    EXPECT_EQ(box.text(), QStringLiteral("12"));
}

TEST(QuantityBox, KeepsAFileValueOutOfRangeUntilStepped)
{
    QuantityBox box;
    box.setText(QStringLiteral("5000"));
    EXPECT_EQ(box.text(), QStringLiteral("5000"));
    EXPECT_EQ(quantityValue(box.text()), 5000);
    box.stepDown();
    EXPECT_EQ(box.text(), QStringLiteral("1000"));
}

TEST(QuantityValue, CountsTextThatIsNoNumberAsZero)
{
    EXPECT_EQ(quantityValue(QStringLiteral("36")), 36);
    EXPECT_EQ(quantityValue(QStringLiteral("  7")), 7);
    EXPECT_EQ(quantityValue(QStringLiteral("abc")), 0);
    EXPECT_EQ(quantityValue(QString()), 0);
    EXPECT_EQ(quantityValue(QStringLiteral("3.5")), 0);
}

TEST(ColourValue, KeepsRedInTheLowestByte)
{
    EXPECT_EQ(colourFromValue(255), QColor(255, 0, 0));
    EXPECT_EQ(colourFromValue(16777215), QColor(255, 255, 255));
    EXPECT_EQ(colourFromValue(0x00804020), QColor(0x20, 0x40, 0x80));
    EXPECT_EQ(valueFromColour(QColor(0, 0, 255)), 0xFF0000);
    EXPECT_EQ(valueFromColour(QColor(0x20, 0x40, 0x80)), 0x804020);
}

TEST(ColourPicker, KeepsTheValueItWasGiven)
{
    ColourPicker picker;
    picker.setColorValue(255);
    EXPECT_EQ(picker.colorValue(), 255);
    EXPECT_EQ(picker.currentText(), QStringLiteral("红色"));

    // Neither a standard colour nor a plain colour value: shown as custom, saved unchanged.
    picker.setColorValue(0x12345678);
    EXPECT_EQ(picker.colorValue(), 0x12345678);
    picker.setColorValue(16777215);
    EXPECT_EQ(picker.currentText(), QStringLiteral("白色"));
}

TEST(ColourPicker, TakesAColourFromTheDialogAndKeepsItsOwnWhenCancelled)
{
    ColourPicker picker;
    picker.setColorValue(255);
    std::optional<QColor> answer = QColor(0x20, 0x40, 0x80);
    picker.setColourChooser([&](QWidget*, const QColor&) { return answer; });
    const int other = picker.count() - 1;

    emit picker.activated(other);
    EXPECT_EQ(picker.colorValue(), 0x804020);

    answer.reset();
    emit picker.activated(other);
    EXPECT_EQ(picker.colorValue(), 0x804020);
    EXPECT_NE(picker.currentIndex(), picker.count() - 1);
}

TEST(LineList, PadsAShortFileToEightLines)
{
    LineList lines;
    lines.setText("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n");
    EXPECT_EQ(lines.count(), 8);
    EXPECT_EQ(lines.line(6), QByteArray());
    lines.setLine(7, "h");
    EXPECT_EQ(lines.text(), QByteArray("a\r\nb\r\nc\r\nd\r\ne\r\nf\r\n\r\nh\r\n"));
}

TEST(LineList, ReplacesOneLineAndKeepsTheRest)
{
    LineList lines;
    const QByteArray text = "1\r\n\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n";
    lines.setText(text);
    EXPECT_EQ(lines.count(), 10);
    EXPECT_EQ(lines.text(), text);
    lines.setLine(1, "two");
    EXPECT_EQ(lines.text(), "1\r\ntwo\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n9\r\n10\r\n");
    EXPECT_EQ(lines.line(20), QByteArray());
}

TEST(QuantityBoxAccessibility, ReportsTheShownNumberAndItsRange)
{
    QuantityBox box;
    QAccessibleValueInterface* value =
        QAccessible::queryAccessibleInterface(&box)->valueInterface();
    ASSERT_NE(value, nullptr);
    for (const auto& [shown, expected] : {std::pair{QStringLiteral("36"), 36},
                                          {QStringLiteral("5000"), 5000},
                                          {QStringLiteral("abc"), 0}}) {
        box.setText(shown);
        EXPECT_EQ(value->currentValue().toInt(), expected) << shown.toStdString();
    }
    EXPECT_EQ(value->minimumValue().toInt(), 0);
    EXPECT_EQ(value->maximumValue().toInt(), 1000);
}
