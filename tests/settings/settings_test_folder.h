#pragma once

#include "support/recorded_boxes.h"
#include "support/test_support.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

class SettingsDialog;

// A program folder whose data files hold a known set of settings, names and quantities.
class SettingsTestFolder : public TestProgramFolder
{
public:
    SettingsTestFolder();

    static const QString Names;
    static const QString Quantities;
    static const QString Pool;
    static const QString Settings;

    // The bytes of the four files the settings save writes, to compare before and after.
    QList<QByteArray> dataFiles() const;
    // A data file replaced by a folder of the same name: it can be neither read nor replaced.
    void blockFile(const QString& relative) const;
    void unblockFile(const QString& relative) const;
};

// Eight names, one per line, GBK with CR LF.
QByteArray namesText(const QStringList& names);

// Counts the programEndRequested signals of a dialog.
class EndCounter
{
public:
    explicit EndCounter(SettingsDialog& dialog);
    int count() const { return count_; }

private:
    int count_ = 0;
};
