// The background's context menu, saving the results, help, and the close question.
#include "drawscreen/draw_screen.h"

#include "datafiles/app_paths.h"
#include "drawscreen/image_control.h"
#include "settings/settings_dialog.h"
#include "ui/help_page.h"
#include "ui/message_boxes.h"

#include <QAction>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QMenu>
#include <QTextEdit>
#include <QTimer>

// The path of the help page shipped in the program folder.
static QString helpPagePath()
{
    return programFolder() + QStringLiteral("help/使用帮助.html");
}

void DrawScreen::buildContextMenu()
{
    // Captions are plain: no accelerator letters, as operators know them.
    parts_.contextMenu = new QMenu(this);
    parts_.contextMenu->addAction(QStringLiteral("设置"), this, &DrawScreen::settingsItemClick);
    parts_.contextMenu->addAction(QStringLiteral("保存中奖结果(自制转盘情况下不可保存中奖结果)"),
                                  this, &DrawScreen::saveResultsItemClick);
    parts_.voidAction = parts_.contextMenu->addAction(QStringLiteral("作废上一次中奖"), this,
                                                      &DrawScreen::voidResultItemClick);
    parts_.voidAction->setEnabled(evening_->canTakeBack());
    connect(evening_, &DrawEvening::takeBackChanged, parts_.voidAction, &QAction::setEnabled);
    parts_.contextMenu->addSeparator();
    parts_.contextMenu->addAction(QStringLiteral("使用帮助"), this, &DrawScreen::helpItemClick);
    buildScreenItems();
    parts_.contextMenu->addSeparator();
    parts_.contextMenu->addAction(QStringLiteral("退出"), this, &DrawScreen::exitItemClick);

    parts_.backgroundImage->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(parts_.backgroundImage, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                parts_.contextMenu->popup(parts_.backgroundImage->mapToGlobal(at));
            });
}

void DrawScreen::settingsItemClick()
{
    parts_.focusTimer->stop();
    if (!settingsDialog_ && settingsDialogFactory_) {
        settingsDialog_ = settingsDialogFactory_();
        connect(settingsDialog_, &SettingsDialog::poolSaved, this,
                [this](const QByteArray& pool, const std::array<int32_t, 8>& quantities) {
                    evening_->newPoolSaved(pool, quantities);
                });
        connect(settingsDialog_, &SettingsDialog::programEndRequested, evening_,
                &DrawEvening::programEnding);
    }
    if (settingsDialog_) {
        // Over the operator's window while it is shown, never in front of the hall.
        QWidget* over = boxParentFor(this);
        if (settingsDialog_->parentWidget() != over)
            settingsDialog_->setParent(over, settingsDialog_->windowFlags());
        settingsDialog_->exec();
    }
}

void DrawScreen::saveResultsItemClick()
{
    const QFont font = parts_.resultsList->font();
    const int points =
        qRound(font.pixelSize() > 0 ? font.pixelSize() * 72.0 / 96.0 : font.pointSizeF());
    evening_->saveResults({font.family(), points});
}

void DrawScreen::voidResultItemClick()
{
    evening_->takeBack();
}

void DrawScreen::helpItemClick()
{
    // Events often run offline, so the page ships with the program; a failure to open it
    // is not reported.
    openHelpPage(this, helpPagePath());
}

void DrawScreen::exitItemClick()
{
    close();
}

void DrawScreen::closeEvent(QCloseEvent* event)
{
    if (evening_->confirmClose()) {
        event->accept();
        // Not quit(): that would ask every window to close again.
        QCoreApplication::exit(0);
    } else {
        event->ignore();
    }
}
