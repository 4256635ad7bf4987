// Renders the program's windows without a display into PNG files, to be looked at before a
// change to the windows is called done:
//   kestrix-screenshots OUTPUT_FOLDER [SCALE_SUFFIX]

#include "kestrix/gui/main/AboutDialog.h"
#include "kestrix/gui/main/GridView.h"
#include "kestrix/gui/main/MainWindow.h"
#include "kestrix/gui/main/QtUserDialogs.h"
#include "kestrix/shell/modConfig.h"
#include "support/SampleRecordSet.h"

#include <QApplication>
#include <QDir>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

namespace {

using namespace kestrix;

// Every view option on, as a user who wants to see everything sets them.
void ShowEverything(modConfig::ConfigStore& store) {
    for (std::int32_t setting = modConfig::kShowInstrumentInfo;
         setting <= modConfig::kShowEnvironmentals; ++setting) {
        store.SetConfigValue(setting, 1);
    }
}

bool Save(QWidget& widget, const QString& folder, const QString& name, const QString& suffix) {
    QApplication::processEvents();
    const QString path = folder + QLatin1Char('/') + name + suffix + QStringLiteral(".png");
    const bool saved = widget.grab().save(path);
    std::printf("%s %s\n", saved ? "wrote" : "FAILED", qPrintable(path));
    return saved;
}

} // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: kestrix-screenshots OUTPUT_FOLDER [SUFFIX]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const QString suffix = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
    QDir().mkpath(folder);

    QTemporaryDir configFolder;
    modConfig::ConfigStore store;
    store.LoadConfig(configFolder.filePath(QStringLiteral("config.ini")).toStdString());
    ShowEverything(store);
    gui::QtUserDialogs dialogs;
    gui::MainWindow window(store, dialogs, {{0, 1, 0}, QCoreApplication::applicationDirPath()});
    window.resize(1280, 800);
    window.show();
    bool ok = Save(window, folder, QStringLiteral("main-empty"), suffix);

    window.TakeRecordSet(bench::BuildSampleRecordSet());
    QApplication::processEvents();
    gui::GridView& view = *window.View();
    view.ScrollTo({view.ScrollingView()->model()->rowCount() / 2, 0});
    ok = Save(window, folder, QStringLiteral("main-full-iaq"), suffix) && ok;

    window.ToggleConfigBar();
    ok = Save(window, folder, QStringLiteral("main-bar-hidden"), suffix) && ok;

    window.About()->show();
    ok = Save(*window.About(), folder, QStringLiteral("about"), suffix) && ok;
    window.About()->ToggleDetailedVersion();
    return ok ? 0 : 1;
}
