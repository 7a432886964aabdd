#include "evening/no_output_notice.h"

bool NoOutputNotice::atSpinStart(bool outputMissing)
{
    const bool tell = !told_ && (outputMissing || missedAtStop_);
    missedAtStop_ = false;
    told_ = told_ || tell;
    return tell;
}

void NoOutputNotice::atStop(bool outputMissing)
{
    if (outputMissing && !told_)
        missedAtStop_ = true;
}
