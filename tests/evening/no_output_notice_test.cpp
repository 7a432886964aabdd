#include "evening/no_output_notice.h"

#include <gtest/gtest.h>
#include <vector>

TEST(NoOutputNotice, TellsOnceARunAtStartUpOrAfterTheSpinThatFoundItMissing)
{
    // Each step: start-up's question (U), a spin's start (S) or stop (T), or its end (E), with
    // whether the output was missing; then whether the notice is shown at that step (only
    // start-up and a spin's end ever show it).
    struct Step
    {
        char at;
        bool missing, tells;
    };
    const std::vector<std::vector<Step>> runs = {
        // Missing at start-up: told then, never again.
        {{'U', true, true}, {'S', true, false}, {'T', true, false}, {'E', false, false}},
        // There all evening: never told.
        {{'U', false, false}, {'S', false, false}, {'T', false, false}, {'E', false, false}},
        // Gone mid-spin: told when that spin ends, not before it turns.
        {{'U', false, false}, {'S', true, false}, {'T', true, false}, {'E', false, true}},
        // Gone at a stop, back by the next spin: told at the end of the spin that missed it.
        {{'U', false, false},
         {'S', false, false},
         {'T', true, false},
         {'E', false, true},
         {'S', false, false},
         {'E', false, false}},
        // Gone, back, gone again later: once a run.
        {{'U', false, false},
         {'S', true, false},
         {'E', false, true},
         {'S', false, false},
         {'T', true, false},
         {'E', false, false}},
    };
    for (size_t r = 0; r < runs.size(); ++r) {
        NoOutputNotice notice;
        for (size_t i = 0; i < runs[r].size(); ++i) {
            const Step& step = runs[r][i];
            bool told = false;
            if (step.at == 'U')
                told = notice.atStartUp(step.missing);
            else if (step.at == 'S')
                notice.atSpinStart(step.missing);
            else if (step.at == 'T')
                notice.atStop(step.missing);
            else
                told = notice.atSpinEnd();
            EXPECT_EQ(told, step.tells) << "run " << r << " step " << i;
        }
    }
}
