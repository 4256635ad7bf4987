#include "setup/ShellLinkStarter.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace setup {
namespace {

LinkStart Outcome(bool started) {
    return started ? LinkStart::Started : LinkStart::Failed;
}

} // namespace

LinkStart ShellLinkStarter::Start(const SetupLink& link) {
    if (IsUrl(link.file)) {
        return Outcome(QDesktopServices::openUrl(QUrl(link.file)));
    }
    const QFileInfo target(link.file);
    if (!target.exists()) {
        return LinkStart::Missing;
    }
    if (target.isFile() && target.isExecutable()) {
        return Outcome(QProcess::startDetached(target.absoluteFilePath(),
                                               QProcess::splitCommand(link.fileArgs)));
    }
    return Outcome(QDesktopServices::openUrl(QUrl::fromLocalFile(target.absoluteFilePath())));
}

} // namespace setup
