#if defined(PW_TEST_WITH_WIDGETS)
#include <QApplication>
using TestApplication = QApplication;
#elif defined(PW_TEST_WITH_GUI)
// The drawn wheel sets text, which needs fonts, though no widgets.
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
// The core's tests run without widgets, as the core is built without them.
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif
#include <QTimer>
#include <gtest/gtest.h>

namespace {

// A case that ends the program (its close question answered Yes) leaves the application
// quitting, and every later event loop, a dialog's included, would return at once. A short
// run of the application's own loop after each case clears that.
class ClearQuitting : public ::testing::EmptyTestEventListener
{
    void OnTestEnd(const ::testing::TestInfo&) override
    {
        QTimer::singleShot(0, qApp, [] { QCoreApplication::exit(0); });
        QCoreApplication::exec();
    }
};

} // namespace

// Widget tests run without a display unless the environment asks for one.
int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    int result = 0;
    {
        TestApplication app(argc, argv);
        ::testing::UnitTest::GetInstance()->listeners().Append(new ClearQuitting);
        result = RUN_ALL_TESTS();
    }
    return result;
}
