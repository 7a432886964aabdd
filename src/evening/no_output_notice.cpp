#include "evening/no_output_notice.h"

bool NoOutputNotice::atStartUp(bool outputMissing)
{
    const bool tell = outputMissing && !told_;
    told_ = told_ || tell;
    return tell;
}

void NoOutputNotice::atStop(bool outputMissing)
{
    if (outputMissing && !told_)
        missed_ = true;
}

bool NoOutputNotice::atSpinEnd()
{
    const bool tell = missed_ && !told_;
    missed_ = false;
    told_ = told_ || tell;
    return tell;
}
