// Holding the display on through the desktop's screen saver service, tried against a stand-in
// service on a private session bus: the hold asked for with the program's name and let go at
// the end, and no service at all passing without a word.
#include "display/display_awake.h"
#include "support/recorded_boxes.h"
#include "support/test_support.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString Reason = QStringLiteral("摇奖画面正在放映");

QStringList lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
}

// Messages Qt would have printed while one lives.
class CapturedMessages
{
public:
    CapturedMessages() { previous_ = qInstallMessageHandler(&CapturedMessages::record); }
    ~CapturedMessages() { qInstallMessageHandler(previous_); }
    static QStringList& seen()
    {
        static QStringList messages;
        return messages;
    }

private:
    static void record(QtMsgType, const QMessageLogContext&, const QString& text)
    {
        seen().append(text);
    }
    QtMessageHandler previous_ = nullptr;
};

} // namespace

class DisplayAwakeOnTheBus : public ::testing::Test
{
protected:
    // One private session bus for the whole program: the process's session connection is made
    // once, on its first use.
    static void SetUpTestSuite()
    {
        bus_ = new QProcess;
        bus_->start(QStringLiteral("dbus-daemon"),
                    {QStringLiteral("--session"), QStringLiteral("--nofork"),
                     QStringLiteral("--print-address=1")});
        if (!bus_->waitForStarted(10000) || !bus_->waitForReadyRead(10000))
            return;
        address_ = QString::fromUtf8(bus_->readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address_.toUtf8());
    }
    static void TearDownTestSuite()
    {
        bus_->kill();
        bus_->waitForFinished(10000);
        delete bus_;
        bus_ = nullptr;
    }

    void SetUp() override
    {
        ASSERT_FALSE(address_.isEmpty()) << "dbus-daemon did not start (scripts/install-deps.sh)";
        ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    }
    void TearDown() override
    {
        if (service_.state() != QProcess::NotRunning) {
            service_.kill();
            service_.waitForFinished(10000);
        }
    }

    void startService()
    {
        service_.start(QStringLiteral("/usr/bin/python3"),
                       {QStringLiteral(PW_SOURCE_DIR "/tests/support/fake_screensaver.py"), log()});
        ASSERT_TRUE(service_.waitForReadyRead(20000))
            << "the stand-in service did not start: " << service_.readAllStandardError().data();
    }
    QString log() const { return dir_.filePath(QStringLiteral("calls.log")); }

    // The bus answers calls from one connection in order: an earlier call to a name nobody
    // owns has its error back before this call to the bus itself returns.
    static void settle()
    {
        QDBusConnection::sessionBus().interface()->isServiceRegistered(
            QStringLiteral("org.freedesktop.DBus"));
        QCoreApplication::processEvents();
    }

    static QProcess* bus_;
    static QString address_;
    QTemporaryDir dir_;
    QProcess service_;
};

QProcess* DisplayAwakeOnTheBus::bus_ = nullptr;
QString DisplayAwakeOnTheBus::address_;

TEST_F(DisplayAwakeOnTheBus, AsksWithTheProgramsNameAndLetsGoAtTheEnd)
{
    startService();
    QString cookie;
    {
        const DisplayAwake awake(ApplicationTitle, Reason);
        // The service answers on its own time; a lost call fails here instead of hanging.
        EXPECT_TRUE(QTest::qWaitFor([&] { return awake.holding(); }, 20000));
        const QStringList calls = lines(log());
        ASSERT_EQ(calls.size(), 1);
        const QStringList fields = calls[0].split('\t');
        ASSERT_EQ(fields.size(), 4);
        EXPECT_EQ(fields[0], QStringLiteral("Inhibit"));
        EXPECT_EQ(fields[1], ApplicationTitle);
        EXPECT_EQ(fields[2], Reason);
        cookie = fields[3];
        EXPECT_TRUE(awake.holding());
    }
    // The end waits for the service's answer, so the call is in by now.
    EXPECT_EQ(lines(log()).mid(1), QStringList{QStringLiteral("UnInhibit\t") + cookie});
}

TEST_F(DisplayAwakeOnTheBus, WithoutTheServiceNothingIsShownOrPrinted)
{
    CapturedMessages messages;
    RecordedBoxes boxes;
    {
        const DisplayAwake awake(ApplicationTitle, Reason);
        settle();
        // The offscreen test platform has no X server to fall back on.
        EXPECT_FALSE(awake.holding());
    }
    EXPECT_TRUE(boxes.boxes().isEmpty());
    EXPECT_TRUE(CapturedMessages::seen().isEmpty())
        << CapturedMessages::seen().join('\n').toStdString();
}
