#include "settings_test_folder.h"

#include "settings/colour_picker.h"
#include "settings/quantity_box.h"
#include "settings/settings_dialog.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace {

class SettingsDialogShow : public ::testing::Test
{
protected:
    SettingsTestFolder folder;
    RecordedBoxes boxes;
};

QStringList nameFields(const SettingsDialog& dialog)
{
    QStringList out;
    for (const QLineEdit* edit : dialog.parts().prizeNameEdits)
        out << edit->text();
    return out;
}

QStringList quantityFields(const SettingsDialog& dialog)
{
    QStringList out;
    for (const QuantityBox* box : dialog.parts().quantityEdits)
        out << box->text();
    return out;
}

} // namespace

TEST_F(SettingsDialogShow, FillsEveryControlFromTheFiles)
{
    folder.setSetting("biaoti_color", "255");
    SettingsDialog dialog;
    dialog.FormShow();

    EXPECT_TRUE(boxes.boxes().isEmpty()) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(dialog.parts().titleEdit->text(), QStringLiteral("公司年会抽奖"));
    EXPECT_EQ(dialog.parts().titleSizeSpinner->value(), 40);
    EXPECT_EQ(dialog.parts().titleColorEdit->colorValue(), 255);
    EXPECT_TRUE(dialog.parts().showPrizeListCheck->isChecked());
    EXPECT_TRUE(dialog.parts().showResultsCheck->isChecked());
    EXPECT_TRUE(dialog.parts().stopAutoRadio->isChecked());
    EXPECT_EQ(nameFields(dialog).first(), QStringLiteral("特等奖"));
    EXPECT_EQ(nameFields(dialog).last(), QStringLiteral("谢谢参与"));
    EXPECT_EQ(quantityFields(dialog).join(','), QStringLiteral("1,2,3,4,5,6,7,8"));
    EXPECT_EQ(dialog.parts().totalLabel->text(), QStringLiteral("36"));
}

TEST_F(SettingsDialogShow, QuotaModeShowsThePrizeGroup)
{
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_TRUE(dialog.parts().quotaRadio->isChecked());
    EXPECT_FALSE(dialog.parts().fullyRandomRadio->isChecked());
    EXPECT_FALSE(dialog.parts().prizeGroup->isHidden());

    // Choosing fully random mode hides the names and quantities again.
    dialog.parts().fullyRandomRadio->click();
    EXPECT_TRUE(dialog.parts().prizeGroup->isHidden());
    dialog.parts().quotaRadio->click();
    EXPECT_FALSE(dialog.parts().prizeGroup->isHidden());
}

TEST_F(SettingsDialogShow, FullyRandomModeHidesThePrizeGroup)
{
    folder.setSetting("kongzhimoshi", "1");
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_TRUE(dialog.parts().fullyRandomRadio->isChecked());
    EXPECT_TRUE(dialog.parts().prizeGroup->isHidden());
}

TEST_F(SettingsDialogShow, NoBigPrizeModeSelectsItsChoice)
{
    folder.setSetting("kongzhimoshi", "2");
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_TRUE(dialog.parts().noBigPrizeRadio->isChecked());
    EXPECT_FALSE(dialog.parts().fullyRandomRadio->isChecked());
    EXPECT_FALSE(dialog.parts().quotaRadio->isChecked());
    EXPECT_TRUE(dialog.parts().prizeGroup->isHidden());
    EXPECT_FALSE(dialog.parts().noBigPrizeRadio->isHidden());
}

TEST_F(SettingsDialogShow, AnUnknownValueLeavesTheInitialChoices)
{
    folder.setSetting("kongzhimoshi", "9");
    folder.setSetting("tingzhimoshi", "1");
    folder.setSetting("present_xianshi", QByteArray());
    folder.setSetting("zhongjiang_xianshi", "yes");
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_TRUE(dialog.parts().fullyRandomRadio->isChecked());
    EXPECT_TRUE(dialog.parts().stopByKeyRadio->isChecked());
    EXPECT_FALSE(dialog.parts().stopAutoRadio->isChecked());
    EXPECT_FALSE(dialog.parts().showPrizeListCheck->isChecked());
    EXPECT_FALSE(dialog.parts().showResultsCheck->isChecked());
}

TEST_F(SettingsDialogShow, TotalsTheQuantities)
{
    folder.write(SettingsTestFolder::Quantities, "3\r\n0\r\n0\r\n0\r\n0\r\n0\r\n0\r\n5\r\n");
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_EQ(dialog.parts().totalLabel->text(), QStringLiteral("8"));

    dialog.parts().quantityEdits[1]->stepBy(10);
    EXPECT_EQ(dialog.parts().totalLabel->text(), QStringLiteral("18"));
    EXPECT_EQ(dialog.quantityLines().line(1), QByteArray("10"));
}

TEST_F(SettingsDialogShow, CountsUnreadableQuantitiesAsZeroAndFillsEmptyOnes)
{
    folder.write(SettingsTestFolder::Quantities, "abc\r\n5000\r\n\r\n1\r\n");
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_EQ(quantityFields(dialog).join(','), QStringLiteral("abc,5000,0,1,0,0,0,0"));
    EXPECT_EQ(dialog.parts().totalLabel->text(), QStringLiteral("5001"));
    EXPECT_EQ(dialog.quantityLines().text(), "abc\r\n5000\r\n0\r\n1\r\n0\r\n0\r\n0\r\n0\r\n");
}

TEST_F(SettingsDialogShow, ASixLineNameFileLeavesTheLastTwoFieldsEmpty)
{
    folder.write(SettingsTestFolder::Names,
                 namesText({"A", "B", "C", "D", "E", "F"}).chopped(2)); // no final line break
    SettingsDialog dialog;
    dialog.FormShow();
    EXPECT_EQ(nameFields(dialog).join(','), QStringLiteral("A,B,C,D,E,F,,"));
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// A failing step is reported once and the later steps still fill their controls.
TEST_F(SettingsDialogShow, GoesOnPastABadSetting)
{
    folder.setSetting("biaoti_size", QByteArray());
    SettingsDialog dialog;
    dialog.FormShow();

    EXPECT_EQ(boxes.errors(),
              QStringList{QStringLiteral("'biaoti_size' is not a valid integer value.")});
    EXPECT_EQ(dialog.parts().titleSizeSpinner->value(), 0);
    EXPECT_EQ(dialog.parts().titleEdit->text(), QStringLiteral("公司年会抽奖"));
    EXPECT_EQ(dialog.parts().titleColorEdit->colorValue(), 16777215);
    EXPECT_TRUE(dialog.parts().quotaRadio->isChecked());
    EXPECT_EQ(nameFields(dialog).first(), QStringLiteral("特等奖"));
    EXPECT_EQ(dialog.parts().totalLabel->text(), QStringLiteral("36"));
}

TEST_F(SettingsDialogShow, GoesOnWithoutASettingsFile)
{
    folder.remove(SettingsTestFolder::Settings);
    SettingsDialog dialog;
    dialog.FormShow();

    EXPECT_EQ(boxes.errors(),
              QStringList({QStringLiteral("'biaoti_size' is not a valid integer value."),
                           QStringLiteral("'biaoti_color' is not a valid integer value.")}));
    EXPECT_EQ(dialog.parts().titleEdit->text(), QStringLiteral("biaoti_text"));
    EXPECT_TRUE(dialog.parts().fullyRandomRadio->isChecked());
    EXPECT_EQ(nameFields(dialog).at(1), QStringLiteral("一等奖"));
}

TEST_F(SettingsDialogShow, GoesOnWithoutTheNameFile)
{
    folder.remove(SettingsTestFolder::Names);
    SettingsDialog dialog;
    dialog.FormShow();

    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors().first().startsWith(QStringLiteral("Cannot open file \"")));
    EXPECT_TRUE(boxes.errors().first().contains(QStringLiteral("奖品.txt")));
    EXPECT_EQ(nameFields(dialog).join(QString()), QString());
    EXPECT_EQ(quantityFields(dialog).join(','), QStringLiteral("1,2,3,4,5,6,7,8"));
}

TEST_F(SettingsDialogShow, GoesOnWithoutTheQuantityFile)
{
    folder.remove(SettingsTestFolder::Quantities);
    SettingsDialog dialog;
    dialog.FormShow();

    ASSERT_EQ(boxes.errors().size(), 1);
    EXPECT_TRUE(boxes.errors().first().contains(QStringLiteral("数量.txt")));
    EXPECT_EQ(quantityFields(dialog).join(','), QStringLiteral("0,0,0,0,0,0,0,0"));
    EXPECT_EQ(dialog.parts().totalLabel->text(), QStringLiteral("0"));
}

TEST_F(SettingsDialogShow, ShowingOpensOnTheDrawControlPageWithTheStopAndNoBigPrizeChoices)
{
    SettingsDialog dialog;
    dialog.show();

    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("系统设置"));
    EXPECT_EQ(dialog.parts().pageControl->currentWidget(), dialog.parts().drawControlPage);
    EXPECT_EQ(dialog.parts().titleEdit->text(), QStringLiteral("公司年会抽奖")); // filled on show
    EXPECT_TRUE(dialog.parts().prizeGroup->isVisible());
    EXPECT_TRUE(dialog.parts().stopModeGroup->isVisible());
    EXPECT_TRUE(dialog.parts().noBigPrizeRadio->isVisible());
    EXPECT_TRUE(dialog.parts().excludedPrizePanel->isVisible());
    EXPECT_FALSE(dialog.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(dialog.parts().prizeNameEdits[7]->nextInFocusChain(),
              dialog.parts().quantityEdits[0]);
    dialog.hide();
}

TEST_F(SettingsDialogShow, TheCloseBoxEndsTheProgramWithoutWriting)
{
    const auto before = folder.dataFiles();
    SettingsDialog dialog;
    EndCounter ends(dialog);
    dialog.show();
    dialog.parts().titleEdit->setText(QStringLiteral("改过的标题"));
    dialog.close();

    EXPECT_EQ(ends.count(), 1);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(folder.dataFiles(), before);
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

TEST_F(SettingsDialogShow, TicksTheKeptOutPrizesEnabledOnlyInNoBigPrizeMode)
{
    const struct
    {
        QByteArray mode, stored;
        QString ticked;
        bool enabled;
    } cases[] = {
        {"2", "1,2", QStringLiteral("11000000"), true},
        {"2", " 8 ,3,9,x", QStringLiteral("00100001"), true},
        {"2", QByteArray(), QStringLiteral("00000000"), true}, // a missing key
        {"1", "5", QStringLiteral("00001000"), false},
        {"3", "1,2,3,4,5,6,7,8", QStringLiteral("11111111"), false},
    };
    for (const auto& c : cases) {
        folder.setSetting("kongzhimoshi", c.mode);
        folder.setSetting("buchuxian", c.stored);
        SettingsDialog dialog;
        dialog.FormShow();
        QString ticked;
        for (const QCheckBox* check : dialog.parts().excludedPrizeChecks) {
            ticked += check->isChecked() ? '1' : '0';
            EXPECT_EQ(check->isEnabled(), c.enabled) << c.stored.constData();
        }
        EXPECT_EQ(ticked, c.ticked) << c.stored.constData();
        // Choosing the mode by hand enables the boxes, leaving it disables them again.
        dialog.parts().noBigPrizeRadio->click();
        EXPECT_TRUE(dialog.parts().excludedPrizeChecks[3]->isEnabled());
        dialog.parts().quotaRadio->click();
        EXPECT_FALSE(dialog.parts().excludedPrizeChecks[3]->isEnabled());
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
}

// The controls of page that are shown: buttons, labels, text fields and spinners.
static QList<QWidget*> shownControls(QWidget* page)
{
    QList<QWidget*> shown;
    for (QWidget* w : page->findChildren<QWidget*>())
        if (w->isVisible() && (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w) ||
                               qobject_cast<QLineEdit*>(w) || qobject_cast<QSpinBox*>(w)))
            shown << w;
    return shown;
}

// Each control lies inside page and its own parent, shows its whole text, and covers no other.
static void expectReadable(QWidget* page, const QList<QWidget*>& shown)
{
    const QRect pageRect = page->rect();
    for (QWidget* w : shown) {
        const QRect inPage(w->mapTo(page, QPoint(0, 0)), w->size());
        const QString name = QStringLiteral("%1 %2 at %3,%4 %5x%6")
                                 .arg(w->property("text").toString(), w->metaObject()->className())
                                 .arg(inPage.x())
                                 .arg(inPage.y())
                                 .arg(inPage.width())
                                 .arg(inPage.height());
        EXPECT_TRUE(pageRect.contains(inPage)) << name.toStdString();
        EXPECT_TRUE(w->parentWidget()->rect().contains(w->geometry())) << name.toStdString();
        if (qobject_cast<QAbstractButton*>(w) || qobject_cast<QLabel*>(w)) {
            EXPECT_GE(w->width(), w->sizeHint().width()) << name.toStdString();
        }
        for (QWidget* other : shown) {
            if (other == w || other->parentWidget() != w->parentWidget())
                continue;
            EXPECT_FALSE(w->geometry().intersects(other->geometry()))
                << name.toStdString() << " / " << other->property("text").toString().toStdString();
        }
    }
}

// Every control of the draw-control page shows its whole text inside the dialog, which keeps
// its size and fits a 1024 x 768 screen, and none covers another.
TEST_F(SettingsDialogShow, DrawControlPageKeepsEveryControlReadable)
{
    for (const QByteArray mode : {"3", "2"}) {
        folder.setSetting("kongzhimoshi", mode);
        SettingsDialog dialog;
        dialog.show();
        EXPECT_EQ(dialog.size(), QSize(713, 524));
        EXPECT_LE(dialog.frameGeometry().width(), 1024);
        EXPECT_LE(dialog.frameGeometry().height(), 768);

        const QList<QWidget*> shown = shownControls(dialog.parts().drawControlPage);
        EXPECT_GE(shown.size(), mode == "3" ? 40 : 14);
        expectReadable(dialog.parts().drawControlPage, shown);
        dialog.hide();
    }
}

// The same of the page of names and places, with its four check boxes in one row.
TEST_F(SettingsDialogShow, LayoutPageKeepsEveryControlReadable)
{
    SettingsDialog dialog;
    dialog.show();
    dialog.parts().pageControl->setCurrentWidget(dialog.parts().layoutPage);
    const QList<QWidget*> shown = shownControls(dialog.parts().layoutPage);
    EXPECT_TRUE(shown.contains(dialog.parts().showPrizesLeftCheck));
    EXPECT_GE(shown.size(), 10);
    expectReadable(dialog.parts().layoutPage, shown);
}
