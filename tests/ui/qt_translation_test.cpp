#include "ui/qt_translation.h"

#include <QColorDialog>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QTranslator>
#include <gtest/gtest.h>

// The translation is read from translations/ beside the program before Qt's own folder, so
// that the program folder's copy serves where Qt has none (on Windows, as unzipped).
TEST(QtTranslation, IsReadFromBesideTheProgram)
{
    const std::unique_ptr<QTranslator> translation = loadQtTranslation();
    ASSERT_NE(translation, nullptr);
    EXPECT_EQ(QFileInfo(translation->filePath()).canonicalFilePath(),
              QFileInfo(QCoreApplication::applicationDirPath() +
                        QStringLiteral("/translations/qtbase_zh_CN.qm"))
                  .canonicalFilePath());
    EXPECT_FALSE(translation->isEmpty());
}

// The colour dialog of the title colour shows Chinese texts: its buttons and its labels.
TEST(QtTranslation, PutsTheColourDialogInChinese)
{
    const std::unique_ptr<QTranslator> translation = loadQtTranslation();
    ASSERT_NE(translation, nullptr);
    QCoreApplication::installTranslator(translation.get());
    QColorDialog dialog;
    const auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), QStringLiteral("确定"));
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), QStringLiteral("取消"));
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>())
        labels.append(label->text());
    for (const char* expected :
         {"基本颜色(&B)", "自定义颜色(&C)", "红(&R)：", "绿(&G)：", "蓝(&U)："})
        EXPECT_TRUE(labels.contains(QString::fromUtf8(expected))) << expected;
}
