#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <cstdint>

// Everything a save of the settings dialog writes, prepared and checked before the first
// file is touched, so a save that cannot succeed changes nothing.
struct SettingsSave
{
    QByteArray titleText;
    int32_t titleColor = 0;
    int32_t titleSize = 0;
    QByteArray stopMode;      // tingzhimoshi
    QByteArray controlMode;   // kongzhimoshi
    QByteArray excludedSlots; // buchuxian: the prizes no-big-prize mode keeps out
    bool showPrizeList = false;
    bool showResults = false;
    bool showCelebration = false; // zhongjiang_texiao
    bool showPrizesLeft = false;  // shengyu_xianshi
    bool wheelNames = false;      // zhuanpan_mingcheng
    bool wheelPictures = false;   // zhuanpan_tupian
    QByteArray prizeNames;        // data/奖品.txt
    QByteArray quantities;        // data/数量.txt
    QByteArray pool;              // data/db.dat
    // How many entries of each prize slot the pool holds (none outside quota mode).
    std::array<int32_t, 8> poolQuantities{};

    // Writes the dialog keys of data/opt.ini, then the names, the quantities and the
    // pool, each file replaced whole. A failure ends the save there: the files written before
    // it hold the new contents, the rest keep their old ones. Raises AppError.
    void write(const QString& programFolder) const;
};

// A title as stored: without leading or trailing blanks and control characters.
QByteArray trimmedTitle(const QByteArray& title);
