#include "ui/message_boxes.h"

#include "datafiles/app_error.h"

#include <QMessageBox>
#include <QPointer>
#include <QWidget>

const QString ApplicationTitle = QStringLiteral("Quenlo通用转盘摇奖");

namespace {

bool showForReal(QWidget* parent, const MessageBoxRequest& request)
{
    QMessageBox box(parent);
    // The draw screen stays on top; its boxes must come up above it.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowModality(Qt::ApplicationModal);
    box.setWindowTitle(request.caption);
    // Messages carry names and paths as the operator typed them, never markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(request.text);
    switch (request.kind) {
    case MessageBoxRequest::Kind::Error:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageBoxRequest::Kind::Notice:
        box.setIcon(QMessageBox::NoIcon);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageBoxRequest::Kind::Question:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        break;
    }
    const int answer = box.exec();
    return answer == QMessageBox::Ok || answer == QMessageBox::Yes;
}

MessageBoxPresenter& presenter()
{
    static MessageBoxPresenter current = showForReal;
    return current;
}

struct BoxRoute
{
    QPointer<QWidget> stage;
    QPointer<QWidget> operatorWindow;
};

BoxRoute& route()
{
    static BoxRoute current;
    return current;
}

} // namespace

void setMessageBoxPresenterForTesting(MessageBoxPresenter replacement)
{
    presenter() = replacement ? std::move(replacement) : MessageBoxPresenter(showForReal);
}

void routeBoxes(QWidget* stage, QWidget* operatorWindow)
{
    route() = {stage, operatorWindow};
}

QWidget* boxParentFor(QWidget* parent)
{
    const BoxRoute& r = route();
    // The hall never sees a box while the operator has a window of their own.
    if (r.operatorWindow && r.operatorWindow->isVisible() && r.stage &&
        (!parent || parent->window() == r.stage))
        return r.operatorWindow;
    return parent;
}

void showErrorBox(QWidget* parent, const QString& message)
{
    QString text = message;
    if (!text.isEmpty() && text.back() > QLatin1Char('.'))
        text += QLatin1Char('.');
    presenter()(boxParentFor(parent), {MessageBoxRequest::Kind::Error, ApplicationTitle, text});
}

void showNoticeBox(QWidget* parent, const QString& text)
{
    presenter()(boxParentFor(parent),
                {MessageBoxRequest::Kind::Notice, QStringLiteral("提示"), text});
}

bool askYesNo(QWidget* parent, const QString& text)
{
    return presenter()(boxParentFor(parent),
                       {MessageBoxRequest::Kind::Question, QStringLiteral("提示"), text});
}
