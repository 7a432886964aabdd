#pragma once

#include "ui/message_boxes.h"

#include <QList>
#include <QStringList>

// Records every message box instead of showing it, answering questions as told.
class RecordedBoxes
{
public:
    RecordedBoxes();
    ~RecordedBoxes();
    RecordedBoxes(const RecordedBoxes&) = delete;
    RecordedBoxes& operator=(const RecordedBoxes&) = delete;

    void answerQuestionsWith(bool yes) { answer_ = yes; }
    const QList<MessageBoxRequest>& boxes() const { return boxes_; }
    QStringList texts() const;
    QStringList errors() const;
    // The window each box came up over.
    const QList<QWidget*>& parents() const { return parents_; }
    void clear()
    {
        boxes_.clear();
        parents_.clear();
    }

private:
    QList<MessageBoxRequest> boxes_;
    QList<QWidget*> parents_;
    bool answer_ = true;
};
