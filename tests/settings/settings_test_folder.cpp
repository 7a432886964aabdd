#include "settings_test_folder.h"

#include "settings/settings_dialog.h"

#include <QDir>

const QString SettingsTestFolder::Names = QStringLiteral("data/奖品.txt");
const QString SettingsTestFolder::Quantities = QStringLiteral("data/数量.txt");
const QString SettingsTestFolder::Pool = QStringLiteral("data/db.dat");
const QString SettingsTestFolder::Settings = QStringLiteral("data/opt.ini");

SettingsTestFolder::SettingsTestFolder()
{
    QDir().mkpath(file(QStringLiteral("data")));
    write(Settings, "[canshu]\r\n"
                    "zhizhen_left=300\r\n"
                    "biaoti_text=" +
                        gbk(QStringLiteral("公司年会抽奖")) +
                        "\r\n"
                        "biaoti_size=40\r\n"
                        "biaoti_color=16777215\r\n"
                        "present_xianshi=1\r\n"
                        "zhongjiang_xianshi=1\r\n"
                        "kongzhimoshi=3\r\n"
                        "tingzhimoshi=2\r\n");
    write(Names,
          namesText({QStringLiteral("特等奖"), QStringLiteral("一等奖"), QStringLiteral("二等奖"),
                     QStringLiteral("三等奖"), QStringLiteral("四等奖"), QStringLiteral("五等奖"),
                     QStringLiteral("纪念奖"), QStringLiteral("谢谢参与")}));
    write(Quantities, "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    write(Pool, "20000\r\n");
}

QList<QByteArray> SettingsTestFolder::dataFiles() const
{
    return {read(Settings), read(Names), read(Quantities), read(Pool)};
}

void SettingsTestFolder::blockFile(const QString& relative) const
{
    remove(relative);
    QDir().mkpath(file(relative));
}

void SettingsTestFolder::unblockFile(const QString& relative) const
{
    QDir().rmdir(file(relative));
}

QByteArray namesText(const QStringList& names)
{
    QByteArray text;
    for (const QString& name : names)
        text += gbk(name) + "\r\n";
    return text;
}

EndCounter::EndCounter(SettingsDialog& dialog)
{
    QObject::connect(&dialog, &SettingsDialog::programEndRequested, [this] { ++count_; });
}
