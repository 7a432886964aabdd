#include "settings/settings_save.h"

#include "datafiles/settings_file.h"
#include "draw/remaining_prizes.h"
#include "datafiles/text_file.h"

void SettingsSave::write(const QString& programFolder) const
{
    const SettingsFile settings(programFolder + QStringLiteral("data/opt.ini"));
    settings.write("biaoti_text", titleText);
    settings.writeInteger("biaoti_color", titleColor);
    settings.writeInteger("biaoti_size", titleSize);
    settings.write("tingzhimoshi", stopMode);
    settings.write("kongzhimoshi", controlMode);
    settings.write("buchuxian", excludedSlots);
    settings.write("present_xianshi", showPrizeList ? "1" : "0");
    settings.write("zhongjiang_xianshi", showResults ? "1" : "0");
    settings.write("zhongjiang_texiao", showCelebration ? "1" : "0");
    settings.write(PrizesLeftKey, showPrizesLeft ? "1" : "0");
    saveTextFile(programFolder + QStringLiteral("data/奖品.txt"), prizeNames);
    saveTextFile(programFolder + QStringLiteral("data/数量.txt"), quantities);
    saveTextFile(programFolder + QStringLiteral("data/db.dat"), pool);
}

QByteArray trimmedTitle(const QByteArray& title)
{
    // Bytes up to the blank are blanks and control characters; GBK trail bytes never are.
    const auto isTrimmed = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    qsizetype begin = 0;
    qsizetype end = title.size();
    while (begin < end && isTrimmed(title[begin]))
        ++begin;
    while (end > begin && isTrimmed(title[end - 1]))
        --end;
    return title.mid(begin, end - begin);
}
