// The program can be killed at any moment (power cut, a frozen laptop switched off): every
// data file it was writing must then hold its old or its new content, never a torn or empty
// one. Each case runs the real writers in a child process and kills it at random moments.
#include "datafiles/profile_file.h"
#include "datafiles/settings_file.h"
#include "datafiles/text_file.h"
#include "settings/settings_save.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int Kills = 100;

const char* const AllKeys[] = {
    "biaoti_text",     "biaoti_size",        "biaoti_color", "biaoti_left",  "biaoti_top",
    "zhizhen_left",    "zhizhen_top",        "pic1_left",    "pic1_top",     "pic2_left",
    "pic2_top",        "pic3_left",          "pic3_top",     "pic4_left",    "pic4_top",
    "pic5_left",       "pic5_top",           "pic6_left",    "pic6_top",     "pic7_left",
    "pic7_top",        "pic8_left",          "pic8_top",     "present_left", "present_top",
    "present_xianshi", "zhongjiang_xianshi", "kongzhimoshi", "tingzhimoshi"};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

class CrashSafety : public ::testing::Test
{
protected:
    QTemporaryDir dir;
    QString folder = dir.path() + '/';
    QString ini = folder + "data/opt.ini";
    std::mt19937 rng{20261208};

    void SetUp() override
    {
        QDir().mkpath(folder + "data");
        QByteArray text = "[canshu]\r\n";
        for (const char* key : AllKeys)
            text += QByteArray(key) + "=1\r\n";
        saveTextFile(ini, text);
    }

    // Runs writeOnce over and over in a child process and kills it after a random while.
    void killWhileWriting(const std::function<void(bool second)>& writeOnce)
    {
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                for (bool second = false;; second = !second)
                    writeOnce(second);
            } catch (...) {
                _exit(2);
            }
        }
        std::uniform_int_distribution<int> delay(0, 4000);
        usleep(static_cast<useconds_t>(delay(rng)));
        kill(child, SIGKILL);
        int status = 0;
        waitpid(child, &status, 0);
        ASSERT_TRUE(WIFSIGNALED(status)) << "the writer stopped by itself: " << status;
    }

    // Every key of the settings file is present and holds one of the values written.
    void expectSettingsIntact(const QList<QByteArray>& allowed)
    {
        const ProfileFile file(ini);
        for (const char* key : AllKeys) {
            const QByteArray value = file.readString("canshu", key, "<missing>");
            ASSERT_TRUE(allowed.contains(value) || value == "1") << key << " = " << value.data();
        }
    }
};

} // namespace

TEST_F(CrashSafety, DragWritesLeaveTheSettingsWhole)
{
    for (int i = 0; i < Kills; ++i) {
        killWhileWriting([this](bool second) {
            const SettingsFile settings(ini);
            settings.writeInteger("zhizhen_left", second ? -35 : 376);
            settings.writeInteger("zhizhen_top", second ? -35 : 376);
        });
        expectSettingsIntact({"-35", "376"});
    }
}

TEST_F(CrashSafety, ResultsSavesLeaveTheOldOrTheNewDocument)
{
    const QString rtf = folder + QStringLiteral("中奖信息.rtf");
    const QByteArray first = "{\\rtf1 first\\par}\r\n";
    const QByteArray second = "{\\rtf1 " + QByteArray(200000, 'x') + "\\par}\r\n";
    saveTextFile(rtf, first);
    for (int i = 0; i < Kills; ++i) {
        killWhileWriting([&](bool two) { saveTextFile(rtf, two ? second : first); });
        const QByteArray now = readFile(rtf);
        ASSERT_TRUE(now == first || now == second) << "torn document of " << now.size() << " bytes";
    }
}

TEST_F(CrashSafety, SettingsSavesLeaveEveryFileOldOrNew)
{
    SettingsSave a;
    a.titleText = "A";
    a.titleColor = 1;
    a.titleSize = 1;
    a.stopMode = a.controlMode = "1";
    a.prizeNames = QByteArray("a\r\n").repeated(8);
    a.quantities = QByteArray("1\r\n").repeated(8);
    a.pool = QByteArray("16560\r\n").repeated(8);
    SettingsSave b = a;
    b.titleText = "B";
    b.titleColor = b.titleSize = 3;
    b.stopMode = "2";
    b.controlMode = "3";
    b.showPrizeList = b.showResults = true;
    b.prizeNames = QByteArray("bb\r\n").repeated(8);
    b.quantities = QByteArray("1000\r\n").repeated(8);
    b.pool = QByteArray("28417\r\n").repeated(8000);
    a.write(folder);
    for (int i = 0; i < Kills; ++i) {
        killWhileWriting([&](bool second) { (second ? b : a).write(folder); });
        expectSettingsIntact({"A", "B", "2", "3", "0"});
        for (const auto& [name, first, second] :
             {std::tuple{QStringLiteral("奖品.txt"), a.prizeNames, b.prizeNames},
              std::tuple{QStringLiteral("数量.txt"), a.quantities, b.quantities},
              std::tuple{QStringLiteral("db.dat"), a.pool, b.pool}}) {
            const QByteArray now = readFile(folder + "data/" + name);
            ASSERT_TRUE(now == first || now == second)
                << name.toStdString() << " torn: " << now.size() << " bytes";
        }
    }
}
