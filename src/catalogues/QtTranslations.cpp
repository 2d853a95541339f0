#include "catalogues/QtTranslations.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QTranslator>

namespace tarvok::qttranslations {
namespace {

const QString kBaseCatalogue = QStringLiteral("qtbase_zh_CN");

} // namespace

QString findFolder(const QStringList& folders) {
    for (const QString& folder : folders)
        if (!folder.isEmpty() &&
            QFileInfo(folder + QLatin1Char('/') + kBaseCatalogue + QStringLiteral(".qm")).isFile())
            return folder;
    return {};
}

int installChinese(QCoreApplication& app, const QString& programDir) {
    const QString folder = findFolder({QLibraryInfo::path(QLibraryInfo::TranslationsPath),
                                       programDir + QStringLiteral("/translations")});
    if (folder.isEmpty())
        return 0;
    int installed = 0;
    // qt_zh_CN gathers the catalogues of the other Qt modules, where it is present.
    for (const QString& name : {kBaseCatalogue, QStringLiteral("qt_zh_CN")}) {
        auto* translator = new QTranslator(&app);
        if (translator->load(name, folder) && QCoreApplication::installTranslator(translator))
            ++installed;
        else
            delete translator;
    }
    return installed;
}

} // namespace tarvok::qttranslations
