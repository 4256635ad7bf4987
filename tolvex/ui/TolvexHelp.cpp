#include "TolvexHelp.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace tolvex {

QString TolvexHelpFile() {
    const QString candidates[] = {
        QCoreApplication::applicationDirPath() + QStringLiteral("/../" TOLVEX_HELP_INSTALL_PATH),
        QStringLiteral(TOLVEX_HELP_INSTALLED_FILE),
        QStringLiteral(TOLVEX_HELP_BUILD_FILE),
    };
    for (const QString& candidate : candidates) {
        const QFileInfo file(candidate);
        if (file.isFile()) {
            return file.canonicalFilePath();
        }
    }
    return {};
}

bool OpenTolvexHelp() {
    const QString file = TolvexHelpFile();
    return !file.isEmpty() && QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

} // namespace tolvex
