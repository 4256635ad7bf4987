// From a record-set file of a full instrument memory (65,535 IAQ records, 16 particle and 16
// analog channels, every view option on) to a shown, scrollable main window, and one table
// refresh after a unit change. The window runs in a process of its own (offscreen), so its peak
// resident memory is its own. Prints times and peak memory.

#include "kestrix/data/modUnits.h"
#include "kestrix/data/recordSetFile.h"
#include "kestrix/gui/common/QtUserDialogs.h"
#include "kestrix/gui/main/GridView.h"
#include "kestrix/gui/main/MainWindow.h"
#include "kestrix/shell/modConfig.h"
#include "support/OffscreenWindows.h"
#include "support/PeakMemory.h"
#include "support/SampleRecordSet.h"

#include <QApplication>
#include <QTableView>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace kestrix;
using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Lays the window out and paints it, as the screen would.
void Show(gui::MainWindow& window) {
    QApplication::processEvents();
    window.grab();
}

int OpenAndReport(const std::string& path) {
    bench::OffscreenWindows windows("main_window_bench");
    modConfig::ConfigStore& store = windows.store;
    const QTemporaryDir& folder = windows.folder;
    for (std::int32_t s = modConfig::kShowInstrumentInfo; s <= modConfig::kShowEnvironmentals;
         ++s) {
        store.SetConfigValue(s, 1);
    }
    gui::QtUserDialogs dialogs;
    gui::MainWindow window(store, dialogs, {{0, 1, 0}, folder.path()});
    window.resize(1280, 800);
    window.show();
    Show(window);
    const double before = PeakResidentMegabytes(RUSAGE_SELF);

    const auto start = Clock::now();
    data::RecordSetReadResult read = data::ReadRecordSetJson(path);
    const double readSeconds = SecondsSince(start);
    if (!read.recordSet || !window.TakeRecordSet(std::move(read.recordSet))) {
        std::fprintf(stderr, "opening failed: %s\n", read.error.c_str());
        return 1;
    }
    const double takenSeconds = SecondsSince(start);
    Show(window);
    const double opened = SecondsSince(start);
    std::printf("opened and shown %d table rows x %d columns in %.2f s "
                "(file read %.2f s, table laid out %.2f s, shown %.2f s)\n",
                window.Grid().RowCount(), window.Grid().ColumnCount(), opened, readSeconds,
                takenSeconds - readSeconds, opened - takenSeconds);
    std::printf("peak resident memory: %.1f MB (%.1f MB before opening)\n",
                PeakResidentMegabytes(RUSAGE_SELF), before);

    window.View()->ScrollTo({window.View()->ScrollingView()->model()->rowCount() / 2, 0});
    const auto refresh = Clock::now();
    window.OnViewOptionChanged(modConfig::kUnitTemperature, modUnits::kUnitCelsius);
    Show(window);
    std::printf("RefreshTable after a unit change, shown: %.2f s\n", SecondsSince(refresh));
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::string(argv[1]) == "--open") {
        return OpenAndReport(argv[2]);
    }
    const std::filesystem::path path = std::filesystem::temp_directory_path() /
                                       ("main_window_bench_" + std::to_string(getpid()) + ".json");
    {
        const auto set = bench::BuildSampleRecordSet();
        std::string error;
        if (!data::WriteRecordSetJson(*set, path.string(), error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", argv[0], "--open", path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    const bool ok = child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
                    WEXITSTATUS(status) == 0;
    std::filesystem::remove(path);
    return ok ? 0 : 1;
}
