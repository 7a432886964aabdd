#pragma once

#include "drawscreen/draw_screen.h"
#include "draw/prize_draw.h"
#include "support/recorded_boxes.h"
#include "support/test_support.h"

#include <QJsonArray>
#include <QStringList>
#include <QTimer>
#include <gtest/gtest.h>
#include <memory>

// A draw screen over a fresh copy of the shipped program folder, with message boxes recorded.
class DrawScreenTest : public ::testing::Test
{
protected:
    TestProgramFolder folder;
    RecordedBoxes boxes;
    std::unique_ptr<DrawScreen> screen;

    // Builds the screen and runs its restore, as showing it does.
    void startProgram()
    {
        screen = std::make_unique<DrawScreen>();
        screen->setRandomClock([] { return 12345u; });
        screen->FormShow();
    }

    // A new run of the program that continues nothing of the earlier runs in this folder.
    void startFreshProgram()
    {
        screen.reset();
        folder.remove(QStringLiteral("摇奖记录.csv"));
        startProgram();
    }

    // Ticks the spin until it stops; returns the number of ticks.
    int runSpin(int limit = 100000)
    {
        int ticks = 0;
        while (screen->parts().spinTimer->isActive() && ticks < limit) {
            screen->spinTimerTick();
            ++ticks;
        }
        return ticks;
    }

    QString lastResult() const;
};

// What an independent RTF reader finds in a document: its paragraphs and whether all of
// them are red.
struct ReadBack
{
    QStringList lines;
    bool red = false;
};
ReadBack readWithUnrtf(const QString& path);

// The rows of the one sheet of a workbook as an independent reader finds them: numbers,
// texts, times to the millisecond in ISO form, and null for an empty cell.
QJsonArray readWorkbookRows(const QString& path);
