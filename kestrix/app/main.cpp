// The program kestrix: one instance, the configuration file from the command line or the data
// folder, the main window, and the configuration saved once at the end.

#include "kestrix/gui/common/QtUserDialogs.h"
#include "kestrix/gui/main/MainWindow.h"
#include "kestrix/shell/folders.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/shell/startup.h"
#include "kestrix/window/windowState.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>

namespace {

using namespace kestrix;

// A platform without a screen has nobody to answer a message box: the message goes to the
// terminal alone.
bool HasScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void RefuseSecondInstance() {
    const QString text = QString::fromUtf8(startup::kAlreadyRunningMessage.data(),
                                           startup::kAlreadyRunningMessage.size());
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (HasScreen()) {
        QMessageBox::warning(nullptr,
                             QString::fromUtf8(startup::kAlreadyRunningTitle.data(),
                                               startup::kAlreadyRunningTitle.size()),
                             text);
    }
}

void ShutdownApplication(modConfig::ConfigStore& store, const gui::MainWindow& window) {
    store.SaveConfig();
    window::SaveWindowState(store.GetConfigPath(), window.State());
    charts::SaveChartState(store.GetConfigPath(), window.ChartsState());
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kestrix"));

    const startup::InstanceLock lock;
    if (lock.AnotherInstanceRunning()) {
        RefuseSecondInstance();
        return 0;
    }

    modConfig::ConfigStore store;
    store.LoadConfig(startup::ConfigFilePath(startup::CommandLineText(argc, argv)));

    gui::QtUserDialogs dialogs;
    const gui::ProgramInfo program{
        {KESTRIX_VERSION_MAJOR, KESTRIX_VERSION_MINOR, KESTRIX_VERSION_PATCH},
        QString::fromStdString(shell::GetProgramFolder())};
    gui::MainWindow window(store, dialogs, program);
    if (const auto state = window::LoadWindowState(store.GetConfigPath())) {
        window.RestoreState(*state);
    }
    window.RestoreChartsState(charts::LoadChartState(store.GetConfigPath()));
    window.show();
    const int status = QApplication::exec();
    ShutdownApplication(store, window);
    return status;
}
