#pragma once

#include <QString>
#include <functional>

// Where what the evening tells and asks the operator comes up: boxes over the window the
// operator looks at. Unset, nothing is shown and every question is answered No.
struct OperatorMessages
{
    std::function<void(const QString& text)> notice;   // the notice box
    std::function<void(const QString& message)> error; // the standard error box
    std::function<bool(const QString& question)> ask;  // Yes and No; true for Yes
};
