#include "draw_screen_fixture.h"

#include "datafiles/app_paths.h"
#include "drawscreen/image_control.h"
#include "settings/settings_dialog.h"

#include <QAction>
#include <QDir>
#include <QMenu>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTextDocumentFragment>
#include <QTextEdit>
#include <QTimer>

namespace {

const QString Saved = QStringLiteral("成功保存到软件目录下的中奖信息文件里！");
const QString CloseQuestion = QStringLiteral("程序即将关闭！点\"是\"退出程序，点\"否\"返回！");

} // namespace

class Menu : public DrawScreenTest
{
protected:
    void SetUp() override
    {
        folder.setSetting("kongzhimoshi", "3");
        folder.write("data/db.dat", "20000\r\n17000\r\n593\r\n");
        startProgram();
    }
    QString resultsFile() const { return folder.file(QStringLiteral("中奖信息.rtf")); }
    void drawEntry(int index)
    {
        screen->startButtonClick();
        screen->session().draw().setPoolIndex(index);
        runSpin();
    }
};

TEST_F(Menu, HasItsTenItemsInOrderWithoutAcceleratorLetters)
{
    QStringList captions;
    for (QAction* action : screen->parts().contextMenu->actions())
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    EXPECT_EQ(captions, (QStringList{QStringLiteral("设置"),
                                     QStringLiteral("保存中奖结果(自制转盘情况下不可保存中奖结果)"),
                                     QStringLiteral("作废上一次中奖"), QStringLiteral("-"),
                                     QStringLiteral("使用帮助"), QStringLiteral("切换显示屏"),
                                     QStringLiteral("操作员窗口"), QStringLiteral("全屏显示"),
                                     QStringLiteral("-"), QStringLiteral("退出")}));
    for (QAction* action : screen->parts().contextMenu->actions())
        EXPECT_FALSE(action->text().contains('&'));
    EXPECT_EQ(screen->parts().backgroundImage->contextMenuPolicy(), Qt::CustomContextMenu);
}

TEST_F(Menu, SavedResultsReadBackInOrderAndInRed)
{
    drawEntry(0); // 20000: slot 5
    drawEntry(0); // 17000: slot 3
    screen->saveResultsItemClick();
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    const ReadBack saved = readWithUnrtf(resultsFile());
    EXPECT_EQ(saved.lines, (QStringList{QStringLiteral("恭喜！你获得了奖品 四等奖：智能手环"),
                                        QStringLiteral("恭喜！你获得了奖品 二等奖：平板电脑")}));
    EXPECT_TRUE(saved.red);
    EXPECT_EQ(screen->parts().resultsList->palette().color(QPalette::Disabled, QPalette::Text),
              QColor(Qt::white));
    EXPECT_TRUE(folder.read(QStringLiteral("中奖信息.rtf")).contains("\\ansicpg936"));
}

TEST_F(Menu, EmptyResultsSaveAnEmptyDocument)
{
    screen->saveResultsItemClick();
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_TRUE(QFile::exists(resultsFile()));
    EXPECT_TRUE(readWithUnrtf(resultsFile()).lines.isEmpty());
}

TEST_F(Menu, SavingAgainOverwritesAndASpinInProgressIsNotAmongThem)
{
    drawEntry(0);
    screen->saveResultsItemClick();
    screen->startButtonClick(); // a spin still turning
    screen->spinTimerTick();
    screen->saveResultsItemClick();
    EXPECT_EQ(readWithUnrtf(resultsFile()).lines.size(), 1);
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
    runSpin();
    screen->saveResultsItemClick();
    EXPECT_EQ(readWithUnrtf(resultsFile()).lines.size(), 2);
}

TEST_F(Menu, HiddenResultsAreSavedAllTheSame)
{
    screen->parts().resultsList->hide();
    drawEntry(2); // 593: slot 6
    screen->saveResultsItemClick();
    EXPECT_EQ(readWithUnrtf(resultsFile()).lines,
              QStringList{QStringLiteral("恭喜！你获得了奖品 五等奖：保温杯")});
}

TEST_F(Menu, FailedSaveIsReportedAndKeepsTheEarlierFile)
{
    drawEntry(0);
    screen->saveResultsItemClick();
    const QByteArray earlier = folder.read(QStringLiteral("中奖信息.rtf"));
    // Point the program folder at a path under a plain file: nothing can be created there.
    folder.write("blocker", "x");
    setProgramFolderForTesting(folder.file("blocker/"));
    drawEntry(0);
    boxes.clear();
    screen->saveResultsItemClick();
    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors()[0].startsWith(QStringLiteral("Cannot create file \"")));
    EXPECT_TRUE(boxes.errors()[0].contains(QStringLiteral("中奖信息.rtf")));
    EXPECT_FALSE(boxes.texts().contains(Saved));
    setProgramFolderForTesting(folder.path());
    EXPECT_EQ(folder.read(QStringLiteral("中奖信息.rtf")), earlier);
    EXPECT_EQ(screen->parts().resultsList->palette().color(QPalette::Disabled, QPalette::Text),
              QColor(Qt::white));
}

TEST_F(Menu, NoToTheCloseQuestionChangesNothing)
{
    drawEntry(0);
    screen->show();
    screen->startButtonClick();
    screen->spinTimerTick();
    boxes.answerQuestionsWith(false);
    EXPECT_FALSE(screen->close());
    EXPECT_TRUE(screen->isVisible());
    EXPECT_TRUE(screen->parts().spinTimer->isActive());
    EXPECT_EQ(screen->resultsCount(), 1);
    ASSERT_EQ(boxes.boxes().size(), 1);
    EXPECT_EQ(boxes.boxes()[0].kind, MessageBoxRequest::Kind::Question);
    EXPECT_EQ(boxes.boxes()[0].text, CloseQuestion);
    EXPECT_EQ(boxes.boxes()[0].caption, QStringLiteral("提示"));

    // The exit item asks the same question.
    screen->exitItemClick();
    EXPECT_EQ(boxes.boxes().size(), 2);
    EXPECT_TRUE(screen->isVisible());

    boxes.answerQuestionsWith(true);
    EXPECT_TRUE(screen->close());
}

TEST_F(Menu, SettingsStopsTheFocusKeeperAndShowsTheDialogModally)
{
    SettingsDialog dialog(screen.get());
    screen->setSettingsDialogFactory([&dialog] { return &dialog; });
    bool wasModal = false;
    QTimer::singleShot(0, &dialog, [&] {
        wasModal = dialog.isVisible() && dialog.isModal();
        dialog.hide();
    });
    screen->settingsItemClick();
    EXPECT_TRUE(wasModal);
    EXPECT_FALSE(screen->parts().focusTimer->isActive());
}
