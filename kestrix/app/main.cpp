// The program kestrix: one instance, the configuration file from the command line or the data
// folder, the main window, and the configuration saved once at the end.

#include "commandLine.h"
#include "kestrix/archive/archiveMove.h"
#include "kestrix/archive/archiveSettings.h"
#include "kestrix/gui/common/QtUserDialogs.h"
#include "kestrix/gui/main/MainWindow.h"
#include "kestrix/gui/main/RunningWindowLink.h"
#include "kestrix/shell/folders.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/shell/startup.h"
#include "kestrix/window/windowState.h"

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

namespace {

using namespace kestrix;

// A platform without a screen has nobody to answer a message box: the message goes to the
// terminal alone.
bool HasScreen() {
    const QString platform = QGuiApplication::platformName();
    return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void Refuse(const QString& title, const QString& text) {
    std::fprintf(stderr, "%s\n", qPrintable(text));
    if (HasScreen()) {
        QMessageBox::warning(nullptr, title, text);
    }
}

void RefuseSecondInstance() {
    Refuse(QString::fromUtf8(startup::kAlreadyRunningTitle.data(),
                             startup::kAlreadyRunningTitle.size()),
           QString::fromUtf8(startup::kAlreadyRunningMessage.data(),
                             startup::kAlreadyRunningMessage.size()));
}

// The command line refuses the same settings: downloads must not go unarchived without a word.
bool RefuseBadArchiveSettings(const std::string& configPath) {
    const std::string problem = archive::ReadArchiveSettings(configPath).problem;
    if (!problem.empty()) {
        Refuse(QObject::tr("Configuration Error"),
               QObject::tr("Kestrix cannot start: %1. Correct the setting and start again.")
                   .arg(QString::fromStdString(problem)));
    }
    return !problem.empty();
}

// Said once the window shows, so that the note has the window as its parent.
void TellArchiveMove(const archive::ArchiveMove& move, gui::MainWindow& window,
                     gui::UserDialogs& dialogs) {
    if (move.note.empty()) {
        return;
    }
    std::fprintf(stderr, "kestrix: %s\n", move.note.c_str());
    if (HasScreen()) {
        QString text = QString::fromStdString(move.note);
        text[0] = text[0].toUpper();
        QTimer::singleShot(0, &window, [&window, &dialogs, text] {
            dialogs.Message(&window, {text + '.',
                                      QStringLiteral("Archive"),
                                      QMessageBox::Information,
                                      QMessageBox::Ok,
                                      {}});
        });
    }
}

void ShutdownApplication(modConfig::ConfigStore& store, const gui::MainWindow& window) {
    store.SaveConfig();
    window::SaveWindowState(store.GetConfigPath(), window.State());
    charts::SaveChartState(store.GetConfigPath(), window.ChartsState());
}

} // namespace

int main(int argc, char* argv[]) {
    const commandLine::CommandLine arguments = commandLine::ParseCommandLine(argc, argv);
    if (arguments.exitStatus) {
        return *arguments.exitStatus;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kestrix"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIX_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("org.orvenda.kestrix"));

    const std::string lockPath = startup::InstanceLock::DefaultLockFilePath();
    const startup::InstanceLock lock(lockPath);
    const QString raiseSocket =
        QString::fromStdString(startup::InstanceLock::RaiseSocketPath(lockPath));
    if (lock.AnotherInstanceRunning()) {
        RefuseSecondInstance();
        gui::RunningWindowLink::AskToRaise(raiseSocket);
        return 0;
    }

    modConfig::ConfigStore store;
    store.LoadConfig(startup::ConfigFilePath(arguments.configFile));
    if (RefuseBadArchiveSettings(store.GetConfigPath())) {
        return 1;
    }
    const archive::ArchiveMove archiveMove = archive::MoveOlderArchive(store.GetConfigPath());

    gui::QtUserDialogs dialogs;
    const gui::ProgramInfo program{
        {KESTRIX_VERSION_MAJOR, KESTRIX_VERSION_MINOR, KESTRIX_VERSION_PATCH},
        QString::fromStdString(shell::GetProgramFolder())};
    gui::MainWindow window(store, dialogs, program);
    if (const auto state = window::LoadWindowState(store.GetConfigPath())) {
        window.RestoreState(*state);
    }
    window.RestoreChartsState(charts::LoadChartState(store.GetConfigPath()));
    const gui::RunningWindowLink raiseRequests(window, raiseSocket);
    window.show();
    TellArchiveMove(archiveMove, window, dialogs);
    const int status = QApplication::exec();
    ShutdownApplication(store, window);
    return status;
}
