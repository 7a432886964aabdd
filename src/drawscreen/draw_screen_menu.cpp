// The background's context menu, saving the results, help, and the close question.
#include "drawscreen/draw_screen.h"

#include "ui/message_boxes.h"
#include "datafiles/app_paths.h"
#include "datafiles/text_file.h"
#include "ui/help_page.h"
#include "drawscreen/draw_screen_texts.h"
#include "drawscreen/image_control.h"
#include "export/results_rtf.h"
#include "export/results_xlsx.h"
#include "ui/text_colour.h"
#include "journal/journal.h"
#include "settings/settings_dialog.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenu>
#include <QTextEdit>
#include <QTimer>

namespace {
const QString RtfName = QStringLiteral("中奖信息.rtf");
const QString WorkbookName = QStringLiteral("中奖信息.xlsx");

} // namespace

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
    parts_.voidAction->setEnabled(false);
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
                    if (journal_)
                        journal_->recordNewPool(sha256Hex(pool), quantities);
                });
        connect(settingsDialog_, &SettingsDialog::programEndRequested, this, [this] {
            if (journal_)
                journal_->recordExit();
        });
    }
    if (settingsDialog_)
        settingsDialog_->exec();
}

void DrawScreen::saveResultsItemClick()
{
    // The document carries the list in red; the screen shows it white again afterwards,
    // whether the write succeeded or not.
    setTextColor(parts_.resultsList, QColor(255, 0, 0));
    try {
        saveResults();
    } catch (const std::exception& error) {
        setTextColor(parts_.resultsList, Qt::white);
        showErrorBox(this, errorMessageOf(error));
        return;
    }
    setTextColor(parts_.resultsList, Qt::white);
    if (journal_)
        journal_->recordSave({RtfName, WorkbookName});
    showNoticeBox(this, SavedText);
}

void DrawScreen::saveResults()
{
    QStringList lines;
    for (const DrawResult& result : session_.results())
        lines.append(resultLine(result));
    const QFont font = parts_.resultsList->font();
    const int points =
        qRound(font.pixelSize() > 0 ? font.pixelSize() * 72.0 / 96.0 : font.pointSizeF());
    saveTextFile(programFolder() + RtfName,
                 resultsRtf(lines, font.family(), points, QColor(255, 0, 0)));
    saveResultsWorkbook(programFolder() + WorkbookName, session_.results());
}

void DrawScreen::voidResultItemClick()
{
    runHandler(this, [this] {
        const std::optional<qsizetype> index =
            parts_.spinTimer->isActive() ? std::nullopt : session_.voidable();
        if (!index)
            return;
        const DrawResult& result = session_.results()[*index];
        if (!askYesNo(this, VoidQuestion.arg(QString::number(*index + 1), result.prize)))
            return;
        // The question's own loop ran the timers: only the draw it named is taken back.
        if (!parts_.spinTimer->isActive() && session_.voidable() == index)
            session_.voidLatest();
    });
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
    if (askYesNo(this, CloseQuestion)) {
        if (journal_)
            journal_->recordExit();
        event->accept();
        // Not quit(): that would ask every window to close again.
        QCoreApplication::exit(0);
    } else {
        event->ignore();
    }
}
