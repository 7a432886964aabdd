#include "operatorwindow/operator_status.h"

#include "draw/draw_mode.h"
#include "draw/draw_result.h"
#include "evening/no_output_notice.h"

QString modeStatus(const QByteArray& controlMode, const QByteArray& stopMode)
{
    QString mode = QStringLiteral("无效（请在设置中重新选择）");
    if (const auto parsed = parseDrawMode(controlMode)) {
        switch (*parsed) {
        case DrawMode::FullyRandom:
            mode = QStringLiteral("完全随机");
            break;
        case DrawMode::NoBigPrize:
            mode = QStringLiteral("不出现大奖");
            break;
        case DrawMode::Quota:
            mode = QStringLiteral("按数量");
            break;
        }
    }
    const QString stop = parseStopMode(stopMode) == StopMode::ByKey ? QStringLiteral("按键停止")
                                                                    : QStringLiteral("自动停止");
    return QStringLiteral("控制模式：%1　停止模式：%2").arg(mode, stop);
}

QString projectorStatus(const ProjectorState& projector, bool spinning)
{
    QStringList parts;
    parts << (spinning ? QStringLiteral("正在转动") : QStringLiteral("已停止"));
    if (projector.blackedOut)
        parts << QStringLiteral("黑屏中");
    parts << (projector.fullScreen ? QStringLiteral("全屏") : QStringLiteral("最大化窗口"));
    if (!projector.screenName.isEmpty())
        parts << QStringLiteral("显示屏 %1").arg(projector.screenName);
    return QStringLiteral("投影画面：") + parts.join(QStringLiteral("，"));
}

QString journalStatus(int rows, const QString& failure)
{
    if (!failure.isNull())
        return QStringLiteral("摇奖记录：写不进磁盘！%1").arg(failure);
    return QStringLiteral("摇奖记录：本次已记录 %1 行").arg(rows);
}

QString soundStatus(bool missing)
{
    return missing ? QStringLiteral("声音：") + NoSoundOutputText : QStringLiteral("声音：正常");
}

QString resultStatus(int number, const DrawResult& result)
{
    QString line = QStringLiteral("%1. %2  %3")
                       .arg(number)
                       .arg(result.time.toString(QStringLiteral("HH:mm:ss")), result.prize);
    if (result.voided)
        line += VoidedMark;
    return line;
}
