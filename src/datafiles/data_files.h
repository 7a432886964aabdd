#pragma once

#include <QString>

// The data files of the program folder, named once.
namespace DataFile {

inline const QString Settings = QStringLiteral("data/opt.ini");
inline const QString PrizeNames = QStringLiteral("data/奖品.txt");
inline const QString Quantities = QStringLiteral("data/数量.txt");
inline const QString Pool = QStringLiteral("data/db.dat");

} // namespace DataFile
