#include "recorded_boxes.h"

RecordedBoxes::RecordedBoxes()
{
    setMessageBoxPresenterForTesting([this](QWidget* parent, const MessageBoxRequest& request) {
        boxes_.append(request);
        parents_.append(parent);
        return request.kind == MessageBoxRequest::Kind::Question ? answer_ : true;
    });
}

RecordedBoxes::~RecordedBoxes()
{
    setMessageBoxPresenterForTesting(nullptr);
}

QStringList RecordedBoxes::texts() const
{
    QStringList out;
    for (const auto& box : boxes_)
        out << box.text;
    return out;
}

QStringList RecordedBoxes::errors() const
{
    QStringList out;
    for (const auto& box : boxes_)
        if (box.kind == MessageBoxRequest::Kind::Error)
            out << box.text;
    return out;
}
