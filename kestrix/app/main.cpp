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
#include <optional>
#include <string_view>

namespace {

using namespace kestrix;

constexpr const char* kHelp =
    "Usage: kestrix [CONFIG_FILE]\n"
    "\n"
    "Downloads, shows and exports the samples of portable particle counters.\n"
    "\n"
    "Arguments:\n"
    "  CONFIG_FILE  configuration file (default: config.ini in the configuration\n"
    "               folder, ~/.config/Orvenda/Kestrix/)\n"
    "\n"
    "Options:\n"
    "  -h, --help   print this help and exit\n"
    "  --version    print the version and exit\n";

// Answered before the window system starts, so both work without a display.
std::optional<int> AnswerInformationRequest(int argc, char* argv[]) {
    if (argc != 2) {
        return std::nullopt;
    }
    const std::string_view argument = argv[1];
    if (argument == "--version") {
        std::printf("kestrix %s\n", KESTRIX_VERSION);
        return 0;
    }
    if (argument == "--help" || argument == "-h") {
        std::fputs(kHelp, stdout);
        return 0;
    }
    return std::nullopt;
}

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
    if (const std::optional<int> status = AnswerInformationRequest(argc, argv)) {
        return *status;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.orvenda.kestrix"));

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
