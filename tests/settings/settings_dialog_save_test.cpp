#include "settings_test_folder.h"

#include "datafiles/text_file.h"
#include "settings/colour_picker.h"
#include "settings/quantity_box.h"
#include "settings/settings_dialog.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace {

const QString Saved = QStringLiteral("保存成功！程序即将关闭，请重新打开。");

class SettingsDialogSave : public ::testing::Test
{
protected:
    // Opens the dialog on the folder's files as they are now.
    SettingsDialog& open()
    {
        dialog = std::make_unique<SettingsDialog>();
        ends = std::make_unique<EndCounter>(*dialog);
        dialog->FormShow();
        boxes.clear();
        return *dialog;
    }

    void setQuantities(const QStringList& quantities)
    {
        for (int i = 0; i < quantities.size(); ++i)
            dialog->parts().quantityEdits[i]->setText(quantities[i]);
    }

    SettingsTestFolder folder;
    RecordedBoxes boxes;
    std::unique_ptr<SettingsDialog> dialog;
    std::unique_ptr<EndCounter> ends;
};

} // namespace

TEST_F(SettingsDialogSave, WritesTheDialogKeysAndEndsTheProgram)
{
    SettingsDialog& d = open();
    d.parts().titleSizeSpinner->setValue(60);
    d.parts().titleColorEdit->setColorValue(255);
    d.parts().showPrizeListCheck->setChecked(false);
    d.parts().fullyRandomRadio->click();
    d.saveButtonClick();

    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(boxes.boxes().first().caption, QStringLiteral("提示"));
    EXPECT_EQ(ends->count(), 1);
    EXPECT_EQ(folder.setting("biaoti_text"), gbk(QStringLiteral("公司年会抽奖")));
    EXPECT_EQ(folder.setting("biaoti_size"), "60");
    EXPECT_EQ(folder.setting("biaoti_color"), "255");
    EXPECT_EQ(folder.setting("tingzhimoshi"), "2");
    EXPECT_EQ(folder.setting("kongzhimoshi"), "1");
    EXPECT_EQ(folder.setting("present_xianshi"), "0");
    EXPECT_EQ(folder.setting("zhongjiang_xianshi"), "1");
    EXPECT_EQ(folder.setting("zhizhen_left"), "300");
}

TEST_F(SettingsDialogSave, CarriesTheHiddenChoicesThrough)
{
    folder.setSetting("kongzhimoshi", "2");
    folder.setSetting("tingzhimoshi", "1");
    open().saveButtonClick();
    EXPECT_EQ(folder.setting("kongzhimoshi"), "2");
    EXPECT_EQ(folder.setting("tingzhimoshi"), "1");
    EXPECT_TRUE(folder.read(SettingsTestFolder::Pool).isEmpty());
}

TEST_F(SettingsDialogSave, AMissingStopModeIsSavedAsAutomatic)
{
    folder.setSetting("tingzhimoshi", QByteArray());
    open().saveButtonClick();
    EXPECT_EQ(folder.setting("tingzhimoshi"), "2");
}

TEST_F(SettingsDialogSave, TrimsTheTitle)
{
    open().parts().titleEdit->setText(QStringLiteral("  \t迎新晚会 抽奖  "));
    dialog->saveButtonClick();
    EXPECT_EQ(folder.setting("biaoti_text"), gbk(QStringLiteral("迎新晚会 抽奖")));
}

TEST_F(SettingsDialogSave, KeepsALongNameOnItsOwnLine)
{
    const QString longName = QStringLiteral("超级大奖").repeated(100);
    open().parts().prizeNameEdits[2]->setText(longName);
    dialog->saveButtonClick();

    const QList<QByteArray> lines = splitLines(folder.read(SettingsTestFolder::Names));
    ASSERT_EQ(lines.size(), 8);
    EXPECT_EQ(lines[2], gbk(longName));
    EXPECT_EQ(lines[3], gbk(QStringLiteral("三等奖")));

    SettingsDialog reopened;
    reopened.FormShow();
    EXPECT_EQ(reopened.parts().prizeNameEdits[2]->text(), longName);
}

TEST_F(SettingsDialogSave, PadsAShortNameFileSoNoEntryIsLost)
{
    folder.write(SettingsTestFolder::Names, namesText({"A", "B", "C", "D", "E", "F"}).chopped(2));
    open().parts().prizeNameEdits[7]->setText(QStringLiteral("H"));
    dialog->saveButtonClick();
    EXPECT_EQ(folder.read(SettingsTestFolder::Names), "A\r\nB\r\nC\r\nD\r\nE\r\nF\r\n\r\nH\r\n");
}

TEST_F(SettingsDialogSave, DiscardChangesNoFile)
{
    const auto before = folder.dataFiles();
    SettingsDialog& d = open();
    d.parts().titleEdit->setText(QStringLiteral("别的标题"));
    d.parts().prizeNameEdits[0]->setText(QStringLiteral("别的奖品"));
    d.parts().quantityEdits[0]->stepUp();
    d.parts().discardButton->click();

    EXPECT_EQ(ends->count(), 1);
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_EQ(folder.dataFiles(), before);
}

TEST_F(SettingsDialogSave, BuildsThePoolFromTheBoxesInQuotaMode)
{
    open().setRandomClock([] { return 0u; });
    setQuantities({"1", "0", "0", "0", "0", "0", "0", "2"});
    dialog->saveButtonClick();

    // Seed 0 puts slot 1 at 46 turns and offset 0, slot 8 at 46 turns and offset 295.
    EXPECT_EQ(folder.read(SettingsTestFolder::Pool), "16560\r\n16855\r\n16855\r\n");
    EXPECT_EQ(folder.read(SettingsTestFolder::Quantities),
              "1\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n2\r\n");
    EXPECT_EQ(folder.setting("kongzhimoshi"), "3");
}

TEST_F(SettingsDialogSave, AllZeroQuantitiesWriteAnEmptyPool)
{
    open();
    setQuantities({"0", "0", "0", "0", "0", "0", "0", "0"});
    dialog->saveButtonClick();
    EXPECT_TRUE(QFile::exists(folder.file(SettingsTestFolder::Pool)));
    EXPECT_TRUE(folder.read(SettingsTestFolder::Pool).isEmpty());
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(ends->count(), 1);
}

TEST_F(SettingsDialogSave, FullyRandomModeWritesAnEmptyPoolAndStillTheQuantities)
{
    open();
    setQuantities({"9", "8", "7", "6", "5", "4", "3", "2"});
    dialog->parts().fullyRandomRadio->click();
    dialog->saveButtonClick();
    EXPECT_TRUE(folder.read(SettingsTestFolder::Pool).isEmpty());
    EXPECT_EQ(folder.read(SettingsTestFolder::Quantities),
              "9\r\n8\r\n7\r\n6\r\n5\r\n4\r\n3\r\n2\r\n");
}

TEST_F(SettingsDialogSave, WritesTheNameFileTheOperatorSawWhenItWasMissing)
{
    folder.remove(SettingsTestFolder::Names);
    open().parts().prizeNameEdits[1]->setText(QStringLiteral("新奖品"));
    dialog->saveButtonClick();
    EXPECT_EQ(folder.read(SettingsTestFolder::Names),
              "\r\n" + gbk(QStringLiteral("新奖品")) + "\r\n\r\n\r\n\r\n\r\n\r\n\r\n");
}

// A quantity that does not convert stops the save before any file is touched.
TEST_F(SettingsDialogSave, AQuantityThatIsNoNumberFailsBeforeWriting)
{
    folder.write(SettingsTestFolder::Quantities, "1\r\n2\r\nabc\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    SettingsDialog& d = open();
    d.parts().titleEdit->setText(QStringLiteral("新标题"));
    const auto before = folder.dataFiles();
    d.saveButtonClick();

    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("保存失败：'abc' is not a valid integer value")});
    EXPECT_EQ(boxes.boxes().first().kind, MessageBoxRequest::Kind::Notice);
    EXPECT_EQ(ends->count(), 0);
    EXPECT_EQ(folder.dataFiles(), before);
}

TEST_F(SettingsDialogSave, AFailedWriteLeavesTheLaterFilesAndASecondPressStartsAfresh)
{
    SettingsDialog& d = open();
    setQuantities({"2", "0", "0", "0", "0", "0", "0", "1"});
    d.parts().titleEdit->setText(QStringLiteral("新标题"));
    folder.blockFile(SettingsTestFolder::Quantities);
    d.saveButtonClick();

    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(
        boxes.texts().first().startsWith(QStringLiteral("保存失败：Cannot create file \"")));
    EXPECT_EQ(ends->count(), 0);
    EXPECT_EQ(folder.setting("biaoti_text"), gbk(QStringLiteral("新标题")));
    EXPECT_EQ(folder.read(SettingsTestFolder::Pool), "20000\r\n");

    folder.unblockFile(SettingsTestFolder::Quantities);
    boxes.clear();
    d.saveButtonClick();
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(splitLines(folder.read(SettingsTestFolder::Pool)).size(), 3);
    EXPECT_EQ(ends->count(), 1);
}

TEST_F(SettingsDialogSave, AnUnreadableNameFileIsNeverOverwritten)
{
    folder.blockFile(SettingsTestFolder::Names);
    const auto before = folder.dataFiles();
    SettingsDialog& d = open();
    d.saveButtonClick();

    ASSERT_EQ(boxes.texts().size(), 1);
    EXPECT_TRUE(boxes.texts().first().startsWith(QStringLiteral("保存失败：Cannot open file \"")));
    EXPECT_EQ(folder.dataFiles(), before);
    EXPECT_EQ(ends->count(), 0);
}

TEST_F(SettingsDialogSave, KeepsTheBytesOfANameLineLeftAlone)
{
    // "\x81\x20" starts no GBK character: the field shows a replacement character.
    const QByteArray odd = QByteArray("\x81\x20Prize", 7);
    folder.write(SettingsTestFolder::Names, "A\r\n" + odd + "\r\nC\r\nD\r\nE\r\nF\r\nG\r\nH\r\n");
    open().parts().prizeNameEdits[0]->setText(QStringLiteral("甲"));
    dialog->saveButtonClick();

    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(folder.read(SettingsTestFolder::Names),
              gbk(QStringLiteral("甲")) + "\r\n" + odd + "\r\nC\r\nD\r\nE\r\nF\r\nG\r\nH\r\n");
}

TEST_F(SettingsDialogSave, RefusesANameGbkCannotHold)
{
    const auto before = folder.dataFiles();
    open().parts().prizeNameEdits[4]->setText(QStringLiteral("奖😀"));
    dialog->saveButtonClick();

    EXPECT_EQ(boxes.texts(),
              QStringList{QStringLiteral("保存失败：奖品名称含有无法保存的字符：😀")});
    EXPECT_EQ(folder.dataFiles(), before);
    EXPECT_EQ(ends->count(), 0);

    // Once the character is gone the save goes through.
    boxes.clear();
    dialog->parts().prizeNameEdits[4]->setText(QStringLiteral("奖"));
    dialog->saveButtonClick();
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(splitLines(folder.read(SettingsTestFolder::Names)).at(4), gbk(QStringLiteral("奖")));
}

TEST_F(SettingsDialogSave, RefusesATitleGbkCannotHold)
{
    const auto before = folder.dataFiles();
    open().parts().titleEdit->setText(QStringLiteral("标题😀"));
    dialog->saveButtonClick();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("保存失败：标题含有无法保存的字符：😀")});
    EXPECT_EQ(folder.dataFiles(), before);
}

TEST_F(SettingsDialogSave, SavesTheStopModeAndTheKeptOutPrizesAndReadsThemBack)
{
    folder.setSetting("buchuxian", QByteArray());
    SettingsDialog& d = open();
    d.parts().stopByKeyRadio->click();
    d.parts().noBigPrizeRadio->click();
    d.parts().excludedPrizeChecks[1]->setChecked(true);
    d.parts().excludedPrizeChecks[0]->setChecked(true);
    d.parts().excludedPrizeChecks[6]->setChecked(true);
    d.saveButtonClick();
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(folder.setting("tingzhimoshi"), "1");
    EXPECT_EQ(folder.setting("kongzhimoshi"), "2");
    EXPECT_EQ(folder.setting("buchuxian"), "1,2,7");
    EXPECT_TRUE(folder.read(SettingsTestFolder::Pool).isEmpty());

    SettingsDialog reopened;
    reopened.FormShow();
    EXPECT_TRUE(reopened.parts().stopByKeyRadio->isChecked());
    EXPECT_TRUE(reopened.parts().noBigPrizeRadio->isChecked());
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(reopened.parts().excludedPrizeChecks[i]->isChecked(), i == 0 || i == 1 || i == 6)
            << i;

    // Unticked again, and back to automatic stop.
    for (QCheckBox* check : reopened.parts().excludedPrizeChecks)
        check->setChecked(false);
    reopened.parts().stopAutoRadio->click();
    reopened.saveButtonClick();
    EXPECT_EQ(folder.setting("buchuxian"), "");
    EXPECT_EQ(folder.setting("tingzhimoshi"), "2");
}

TEST_F(SettingsDialogSave, RefusesToKeepEveryPrizeOut)
{
    SettingsDialog& d = open();
    d.parts().noBigPrizeRadio->click();
    for (QCheckBox* check : d.parts().excludedPrizeChecks)
        check->setChecked(true);
    const auto before = folder.dataFiles();
    d.saveButtonClick();
    EXPECT_EQ(boxes.texts(), QStringList{QStringLiteral("至少要保留一个可以出现的奖品！")});
    EXPECT_EQ(boxes.boxes().first().kind, MessageBoxRequest::Kind::Notice);
    EXPECT_EQ(folder.dataFiles(), before);
    EXPECT_EQ(ends->count(), 0);

    // Outside no-big-prize mode the boxes keep nothing out, so the save goes through.
    boxes.clear();
    d.parts().fullyRandomRadio->click();
    d.saveButtonClick();
    EXPECT_EQ(boxes.texts(), QStringList{Saved});
    EXPECT_EQ(folder.setting("buchuxian"), "1,2,3,4,5,6,7,8");
}

TEST_F(SettingsDialogSave, TheCelebrationCheckBoxRoundTrips)
{
    // Loaded like its neighbours: only "1" ticks it; saved as "1" or "0".
    const std::pair<QByteArray, bool> cases[] = {
        {"1", true}, {"0", false}, {QByteArray(), false}, {"yes", false}};
    for (const auto& [stored, ticked] : cases) {
        for (const bool tick : {true, false}) {
            folder.setSetting("zhongjiang_texiao", stored);
            SettingsDialog& d = open();
            EXPECT_EQ(d.parts().showCelebrationCheck->isChecked(), ticked) << stored.constData();
            EXPECT_EQ(d.parts().showCelebrationCheck->text(), QStringLiteral("显示中奖特效"));
            EXPECT_EQ(d.parts().showCelebrationCheck->parentWidget(),
                      static_cast<QWidget*>(d.parts().visibilityGroup));
            d.parts().showCelebrationCheck->setChecked(tick);
            d.saveButtonClick();
            EXPECT_EQ(folder.setting("zhongjiang_texiao"), tick ? "1" : "0");
        }
    }
}

TEST_F(SettingsDialogSave, ThePrizesLeftCheckBoxRoundTrips)
{
    // Only "1" ticks it; a missing key, as in folders from before it existed, leaves it clear.
    const std::pair<QByteArray, bool> cases[] = {
        {"1", true}, {"0", false}, {QByteArray(), false}, {"yes", false}};
    for (const auto& [stored, ticked] : cases) {
        for (const bool tick : {true, false}) {
            folder.setSetting("shengyu_xianshi", stored);
            folder.setSetting("zhongjiang_texiao", "1");
            SettingsDialog& d = open();
            EXPECT_EQ(d.parts().showPrizesLeftCheck->isChecked(), ticked) << stored.constData();
            EXPECT_EQ(d.parts().showPrizesLeftCheck->text(), QStringLiteral("显示剩余数量"));
            EXPECT_EQ(d.parts().showPrizesLeftCheck->parentWidget(),
                      static_cast<QWidget*>(d.parts().visibilityGroup));
            d.parts().showPrizesLeftCheck->setChecked(tick);
            d.saveButtonClick();
            EXPECT_EQ(folder.setting("shengyu_xianshi"), tick ? "1" : "0");
            // Its neighbours keep their own keys.
            EXPECT_EQ(folder.setting("zhongjiang_texiao"), "1");
        }
    }
}

TEST_F(SettingsDialogSave, TheWheelCheckBoxesRoundTrip)
{
    struct Box
    {
        const char* key;
        QCheckBox* SettingsDialogParts::*check;
        const char16_t* text;
    };
    const Box wheelBoxes[] = {
        {"zhuanpan_mingcheng", &SettingsDialogParts::wheelNamesCheck, u"在转盘上显示奖品名称"},
        {"zhuanpan_tupian", &SettingsDialogParts::wheelPicturesCheck, u"在转盘上显示奖品图片"}};
    const std::pair<QByteArray, bool> cases[] = {
        {"1", true}, {"0", false}, {QByteArray(), false}, {"yes", false}};
    for (const Box& box : wheelBoxes) {
        for (const auto& [stored, ticked] : cases) {
            for (const bool tick : {true, false}) {
                folder.setSetting("zhuanpan_mingcheng", "1");
                folder.setSetting("zhuanpan_tupian", "0");
                folder.setSetting(box.key, stored);
                SettingsDialog& d = open();
                QCheckBox* check = d.parts().*box.check;
                EXPECT_EQ(check->isChecked(), ticked) << box.key << " " << stored.constData();
                EXPECT_EQ(check->text(), QString::fromUtf16(box.text));
                EXPECT_EQ(check->parentWidget()->parentWidget(), d.parts().layoutPage);
                check->setChecked(tick);
                d.saveButtonClick();
                EXPECT_EQ(folder.setting(box.key), tick ? "1" : "0");
            }
        }
    }
}
