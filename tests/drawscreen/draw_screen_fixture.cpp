#include "draw_screen_fixture.h"

#include <QTextEdit>

QString DrawScreenTest::lastResult() const
{
    const QStringList lines = screen->resultsList->toPlainText().split('\n');
    return screen->resultsCount() == 0 ? QString() : lines.last();
}
