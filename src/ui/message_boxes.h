#pragma once

#include "datafiles/app_error.h"

#include <QString>
#include <exception>
#include <functional>

class QWidget;

// The application title: the task-bar entry and the caption of the standard error box.
extern const QString ApplicationTitle;

// What a message box shows. The program's three kinds of box are built here only.
struct MessageBoxRequest
{
    enum class Kind
    {
        Error,
        Notice,
        Question
    };
    Kind kind;
    QString caption;
    QString text;
};

// Shows a box and answers true for OK or Yes. Tests replace it to answer without a modal loop.
using MessageBoxPresenter = std::function<bool(QWidget* parent, const MessageBoxRequest&)>;
void setMessageBoxPresenterForTesting(MessageBoxPresenter presenter);

// While the operator's own window is shown, every box asked for over the stage (the draw
// screen the hall sees) comes up over the operator's window instead, and so do the dialogs
// the stage opens. Either may be null.
void routeBoxes(QWidget* stage, QWidget* operatorWindow);
// The window a box or dialog asked for over parent comes up over.
QWidget* boxParentFor(QWidget* parent);

// The standard error box: the message (with a full stop added when its last character sorts
// after "."), the application title as caption, an error icon and an OK button.
void showErrorBox(QWidget* parent, const QString& message);

// The notice box: caption "提示", an OK button and no icon.
void showNoticeBox(QWidget* parent, const QString& text);

// Caption "提示", Yes and No, question icon. True for Yes.
bool askYesNo(QWidget* parent, const QString& text);

// Runs an event handler; a failure it does not catch ends it and goes to the standard error
// box. What the handler had done before the failure stays done.
template <typename Handler> void runHandler(QWidget* parent, Handler&& handler)
{
    try {
        handler();
    } catch (const std::exception& error) {
        showErrorBox(parent, errorMessageOf(error));
    }
}
