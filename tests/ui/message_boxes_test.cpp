#include "ui/message_boxes.h"

#include "ui/qt_translation.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QTranslator>
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

// With Qt's translation loaded as at start-up, each kind of box shows Chinese buttons, whatever
// the system's language: the close question reads 是 and 否 as its text asks.
TEST(MessageBoxes, ShowChineseButtons)
{
    const std::unique_ptr<QTranslator> translation = loadQtTranslation();
    ASSERT_NE(translation, nullptr);
    QCoreApplication::installTranslator(translation.get());
    const struct
    {
        std::function<void()> show;
        QStringList buttons;
    } kinds[] = {{[] { showErrorBox(nullptr, QStringLiteral("错误")); }, {"确定"}},
                 {[] { showNoticeBox(nullptr, QStringLiteral("提示")); }, {"确定"}},
                 {[] { askYesNo(nullptr, QStringLiteral("退出？")); }, {"是(&Y)", "否(&N)"}}};
    for (const auto& kind : kinds) {
        QStringList shown;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            for (QAbstractButton* button : box->buttons())
                shown.append(button->text());
            box->done(QMessageBox::Ok);
        });
        kind.show();
        shown.sort();
        QStringList expected = kind.buttons;
        expected.sort();
        EXPECT_EQ(shown, expected) << shown.join(' ').toStdString();
    }
}
