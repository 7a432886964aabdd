#pragma once

#include <QString>

// What the draw tells the operator, defined once for the draw screen and the settings dialog.

// Every entry of the quota pool has been drawn.
inline const QString AllDrawnText = QStringLiteral("所有奖品已经摇完！");
// The control mode in the settings file is none the draw knows.
inline const QString InvalidModeText =
    QStringLiteral("控制模式设置无效，请在设置中重新选择控制模式！");
// No-big-prize mode with every prize kept out.
inline const QString KeepOnePrizeText = QStringLiteral("至少要保留一个可以出现的奖品！");
// What each line of the results list starts with, before the prize's name.
inline const QString AnnouncementPrefix = QStringLiteral("恭喜！你获得了奖品     ");
// The start-up question when the last run left results unsaved; %1 is their number.
inline const QString ContinueQuestion =
    QStringLiteral("上次摇奖的%1条中奖结果还没有保存，是否恢复并继续上次的摇奖？");
// Asked before a draw is taken back; %1 is its number in the results list, %2 its prize.
inline const QString VoidQuestion = QStringLiteral("作废第%1次中奖“%2”？奖品将放回奖池。");
// Asked before the program closes, from the menu, the close box or Alt+F4.
inline const QString CloseQuestion =
    QStringLiteral("程序即将关闭！点\"是\"退出程序，点\"否\"返回！");
// The results were saved as the document and the workbook.
inline const QString SavedText = QStringLiteral("成功保存到软件目录下的中奖信息文件里！");
