#pragma once

#include "drawscreen/draw_screen.h"
#include "draw/prize_draw.h"
#include "support/recorded_boxes.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QJsonArray>
#include <QStringList>
#include <QTextEdit>
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

    // Builds the screen and runs its restore, as showing it does, and what waits for the
    // first frame (the check of the journal, the question whether there is a sound output).
    void startProgram()
    {
        screen = std::make_unique<DrawScreen>();
        screen->setRandomClock([] { return 12345u; });
        screen->FormShow();
        screen->evening().firstFrameShown();
    }

    // A new run of the program that continues nothing of the earlier runs in this folder.
    void startFreshProgram()
    {
        screen.reset();
        folder.remove(QStringLiteral("摇奖记录.csv"));
        startProgram();
    }

    // Ticks the spin until it stops, and on a shown screen lets the stop be painted, which
    // the fanfare waits for; returns the number of ticks.
    int runSpin(int limit = 100000)
    {
        int ticks = 0;
        while (screen->parts().spinTimer->isActive() && ticks < limit) {
            screen->spinTimerTick();
            ++ticks;
        }
        paintStop();
        return ticks;
    }
    void paintStop()
    {
        QDeadlineTimer deadline(5000);
        while (screen->evening().stopPending() && !deadline.hasExpired())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }

    QString lastResult() const;

    // The prize-name list wide enough for every shipped name and its count in any font, so a
    // test that reads its text reads whole names (Wine's fonts are wider than Linux's).
    void widenPrizeList()
    {
        QTextEdit* list = screen->parts().prizeList;
        list->resize(2000, list->height());
        screen->updatePrizesLeft();
    }
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
