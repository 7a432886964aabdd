#pragma once

#include <QString>

// What the settings dialog tells the operator, defined once.

// Before the reason a save failed.
inline const QString SaveFailedPrefix = QStringLiteral("保存失败：");
// After a save: the program ends and takes the new settings up at its next start.
inline const QString SavedRestartText = QStringLiteral("保存成功！程序即将关闭，请重新打开。");
// Before the characters of a prize name or of the title that the GBK files cannot hold.
inline const QString UnsavableNamePrefix = QStringLiteral("奖品名称含有无法保存的字符：");
inline const QString UnsavableTitlePrefix = QStringLiteral("标题含有无法保存的字符：");
