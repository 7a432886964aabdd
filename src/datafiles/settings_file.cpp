#include "datafiles/settings_file.h"

#include "datafiles/app_paths.h"
#include "datafiles/data_files.h"
#include "datafiles/integer_conversion.h"
#include "datafiles/profile_file.h"

static const QByteArray Section = QByteArrayLiteral("canshu");

SettingsFile::SettingsFile() : path_(programFolder() + DataFile::Settings) {}

QByteArray SettingsFile::text(const char* key) const
{
    return ProfileFile(path_).readString(Section, key, key);
}

int32_t SettingsFile::integer(const char* key) const
{
    return parseInteger(text(key));
}

void SettingsFile::write(const char* key, const QByteArray& value) const
{
    ProfileFile(path_).writeString(Section, key, value);
}

void SettingsFile::write(const char* key, const QByteArray& value, Flush flush) const
{
    ProfileFile(path_).writeStrings(Section, {{key, value}}, flush);
}

void SettingsFile::writeInteger(const char* key, int32_t value) const
{
    write(key, QByteArray::number(value));
}

void SettingsFile::writePlace(const char* leftKey, int32_t left, const char* topKey,
                              int32_t top) const
{
    ProfileFile(path_).writeStrings(
        Section, {{leftKey, QByteArray::number(left)}, {topKey, QByteArray::number(top)}},
        Flush::InBackground);
}
