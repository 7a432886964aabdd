#include "draw_screen_fixture.h"

#include "drawscreen/image_control.h"
#include "rotatingimage/rotating_image.h"

#include <QAccessible>
#include <QLabel>
#include <QTextEdit>

using Accessibility = DrawScreenTest;

static QString nameOf(QObject* object)
{
    return QAccessible::queryAccessibleInterface(object)->text(QAccessible::Name);
}

TEST_F(Accessibility, TheScreenIsAFrameAndItsElementsAreNamed)
{
    startProgram();
    QAccessibleInterface* window = QAccessible::queryAccessibleInterface(screen.get());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->role(), QAccessible::Border); // the bridge's "frame"
    EXPECT_EQ(window->text(QAccessible::Name), QStringLiteral("Quenlo通用转盘摇奖程序2013"));

    QList<std::pair<QObject*, QString>> named = {
        {screen->parts().wheelImage, QStringLiteral("转盘")},
        {screen->parts().pointerImage, QStringLiteral("指针")},
        {screen->parts().prizeList, QStringLiteral("奖品名称列表")},
        {screen->parts().resultsList, QStringLiteral("中奖结果")},
        {screen->parts().titleLabel, screen->parts().titleLabel->text()}};
    for (int k = 0; k < 8; ++k)
        named.append({screen->parts().prizeImages[k], QStringLiteral("奖品%1图片").arg(k + 1)});
    for (const auto& [object, name] : named)
        EXPECT_EQ(nameOf(object), name);
    // The lists stay readable through the text interface.
    QAccessibleTextInterface* text =
        QAccessible::queryAccessibleInterface(screen->parts().prizeList)->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->text(0, text->characterCount()), screen->parts().prizeList->toPlainText());
}
