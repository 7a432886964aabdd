#include "settings/settings_save.h"

#include "datafiles/data_files.h"
#include "datafiles/settings_keys.h"
#include "datafiles/settings_file.h"
#include "draw/remaining_prizes.h"
#include "datafiles/text_file.h"

void SettingsSave::write(const QString& programFolder) const
{
    const SettingsFile settings(programFolder + DataFile::Settings);
    settings.write(SettingsKey::TitleText, titleText);
    settings.writeInteger(SettingsKey::TitleColour, titleColor);
    settings.writeInteger(SettingsKey::TitleSize, titleSize);
    settings.write(SettingsKey::StopMode, stopMode);
    settings.write(SettingsKey::ControlMode, controlMode);
    settings.write(SettingsKey::ExcludedPrizes, excludedSlots);
    settings.write(SettingsKey::ShowPrizeList, showPrizeList ? SettingsKey::On : SettingsKey::Off);
    settings.write(SettingsKey::ShowResults, showResults ? SettingsKey::On : SettingsKey::Off);
    settings.write(SettingsKey::ShowCelebration,
                   showCelebration ? SettingsKey::On : SettingsKey::Off);
    settings.write(SettingsKey::ShowPrizesLeft,
                   showPrizesLeft ? SettingsKey::On : SettingsKey::Off);
    settings.write(SettingsKey::WheelNames, wheelNames ? SettingsKey::On : SettingsKey::Off);
    settings.write(SettingsKey::WheelPictures, wheelPictures ? SettingsKey::On : SettingsKey::Off);
    saveTextFile(programFolder + DataFile::PrizeNames, prizeNames);
    saveTextFile(programFolder + DataFile::Quantities, quantities);
    saveTextFile(programFolder + DataFile::Pool, pool);
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
