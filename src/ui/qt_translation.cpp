#include "ui/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

std::unique_ptr<QTranslator> loadQtTranslation()
{
    // Named in full: a locale-based lookup would follow the system's language.
    const QString file = QStringLiteral("qtbase_zh_CN.qm");
    const QString folders[] = {QCoreApplication::applicationDirPath() +
                                   QStringLiteral("/translations"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
    auto translator = std::make_unique<QTranslator>();
    for (const QString& folder : folders) {
        if (translator->load(file, folder))
            return translator;
    }
    return nullptr;
}
