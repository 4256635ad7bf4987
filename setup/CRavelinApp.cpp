#include "setup/CRavelinApp.h"

#include "setup/CRavelinDlg.h"
#include "setup/ShellLinkStarter.h"

#include <QDir>

namespace setup {

CRavelinApp::CRavelinApp(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(QStringLiteral("setup"));
}

int CRavelinApp::Run() {
    const QString iniPath = FindSetupFile(QDir::currentPath(), applicationDirPath());
    ShellLinkStarter starter;
    CRavelinDlg dialog(ReadSetupContent(iniPath), starter);
    dialog.exec();
    return 0;
}

} // namespace setup
