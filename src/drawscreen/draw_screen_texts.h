#pragma once

#include <QString>

// What the draw screen's menu tells the operator, defined once.

// Asked before the program closes, from the menu, the close box or Alt+F4.
inline const QString CloseQuestion =
    QStringLiteral("程序即将关闭！点\"是\"退出程序，点\"否\"返回！");
// The results were saved as the document and the workbook.
inline const QString SavedText = QStringLiteral("成功保存到软件目录下的中奖信息文件里！");
