#pragma once

#include <QByteArray>
#include <QList>

// The keys of data/opt.ini (section "canshu"), named once. Operators and earlier versions of
// the program know the file by these names, so they never change.
namespace SettingsKey {

// The event title.
inline constexpr char TitleText[] = "biaoti_text";
inline constexpr char TitleSize[] = "biaoti_size";
inline constexpr char TitleColour[] = "biaoti_color";
inline constexpr char TitleLeft[] = "biaoti_left";
inline constexpr char TitleTop[] = "biaoti_top";
// The pointer (the wheel follows it) and the prize-name list.
inline constexpr char PointerLeft[] = "zhizhen_left";
inline constexpr char PointerTop[] = "zhizhen_top";
inline constexpr char PrizeListLeft[] = "present_left";
inline constexpr char PrizeListTop[] = "present_top";
// What is shown: the prize-name list, the results with their counter, the celebration.
inline constexpr char ShowPrizeList[] = "present_xianshi";
inline constexpr char ShowResults[] = "zhongjiang_xianshi";
inline constexpr char ShowCelebration[] = "zhongjiang_texiao";
// The draw: control mode, stop mode, the prizes kept out in no-big-prize mode.
inline constexpr char ControlMode[] = "kongzhimoshi";
inline constexpr char StopMode[] = "tingzhimoshi";
inline constexpr char ExcludedPrizes[] = "buchuxian";
// The prizes left beside their names in quota mode.
inline constexpr char ShowPrizesLeft[] = "shengyu_xianshi";
// The wheel drawn by the program with the prize names on it (rather than pic/转盘.png), and
// the prize pictures on it too.
inline constexpr char WheelNames[] = "zhuanpan_mingcheng";
inline constexpr char WheelPictures[] = "zhuanpan_tupian";
// The screen the draw screen is shown on (its name as the system reports it), and full
// screen rather than a maximised window.
inline constexpr char Screen[] = "xianshiping";
inline constexpr char FullScreen[] = "quanping";
// The operator window on another screen than the draw screen's.
inline constexpr char OperatorWindow[] = "caozuo_chuangkou";
// The client-area size the places were made for.
inline constexpr char LayoutWidth[] = "pingmu_kuan";
inline constexpr char LayoutHeight[] = "pingmu_gao";

// The place of prize picture slot (1 to 8): "pic<slot>_left" and "pic<slot>_top".
inline QByteArray prizePictureLeft(int slot)
{
    return "pic" + QByteArray::number(slot) + "_left";
}
inline QByteArray prizePictureTop(int slot)
{
    return "pic" + QByteArray::number(slot) + "_top";
}

// The value a switch key holds when it is on; anything else, a missing key included, is off.
inline constexpr char On[] = "1";
inline constexpr char Off[] = "0";
inline bool isOn(const QByteArray& value)
{
    return value == On;
}

// Every key the program reads or writes, for checks that must cover them all.
inline QList<QByteArray> all()
{
    QList<QByteArray> keys{
        TitleText,   TitleSize,     TitleColour,    TitleLeft,     TitleTop,      PointerLeft,
        PointerTop,  PrizeListLeft, PrizeListTop,   ShowPrizeList, ShowResults,   ShowCelebration,
        ControlMode, StopMode,      ExcludedPrizes, LayoutWidth,   LayoutHeight,  ShowPrizesLeft,
        Screen,      FullScreen,    WheelNames,     WheelPictures, OperatorWindow};
    for (int slot = 1; slot <= 8; ++slot)
        keys << prizePictureLeft(slot) << prizePictureTop(slot);
    return keys;
}

} // namespace SettingsKey
