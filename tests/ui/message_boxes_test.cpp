#include "ui/message_boxes.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

// Each kind of box shows its text as plain text: a prize name or path in it is never markup.
TEST(MessageBoxes, ShowTheirTextAsPlainText)
{
    const QString text = QStringLiteral("奖品名称含有无法保存的字符：<b>x</b> &amp;");
    const std::function<void()> kinds[] = {[&] { showErrorBox(nullptr, text); },
                                           [&] { showNoticeBox(nullptr, text); },
                                           [&] { askYesNo(nullptr, text); }};
    for (const auto& show : kinds) {
        Qt::TextFormat format = Qt::AutoText;
        QString shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            format = box->textFormat();
            shown = box->text();
            box->done(QMessageBox::Ok);
        });
        show();
        EXPECT_EQ(format, Qt::PlainText);
        EXPECT_TRUE(shown.startsWith(text)) << shown.toStdString();
    }
}
