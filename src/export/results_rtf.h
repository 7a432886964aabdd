#pragma once

#include <QByteArray>
#include <QColor>
#include <QStringList>

// The results list as a Rich Text document: one paragraph per line, in order, in the given
// font and colour. Text is GBK (code page 936) with every byte above ASCII written as \'hh;
// a character GBK cannot hold is written as its Unicode number.
QByteArray resultsRtf(const QStringList& lines, const QString& fontFamily, int pointSize,
                      const QColor& color);
