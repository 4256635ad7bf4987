// From a record-set file of a full instrument memory (65,535 IAQ records, 16 particle and 16
// analog channels, every view option on) to a shown, scrollable main window, then table
// refreshes after a unit change and after an option is switched off and on; and a year of the
// same instrument at 2-minute samples (262,800 records, five downloads) opened from the archive.
// Each window runs in a process of its own (offscreen), so its peak resident memory is its own.
// Prints times, memory and the window's bytes per record.

#include "kestrix/archive/Archive.h"
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
#include <cstring>
#include <filesystem>
#include <functional>
#include <malloc.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace kestrix;
using Clock = std::chrono::steady_clock;

constexpr std::int32_t kDownloads = 5;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Lays the window out and paints it, as the screen would.
void Show(gui::MainWindow& window) {
    QApplication::processEvents();
    window.grab();
}

using ReadSet = std::function<std::shared_ptr<data::clsDataRecordSet>(std::string& error)>;

// Opens what `read` gives in a shown window, then runs the refreshes when asked to.
int OpenAndReport(const char* what, const ReadSet& read, bool refreshes) {
    bench::OffscreenWindows windows("main_window_bench");
    modConfig::ConfigStore& store = windows.store;
    for (std::int32_t s = modConfig::kShowInstrumentInfo; s <= modConfig::kShowEnvironmentals;
         ++s) {
        store.SetConfigValue(s, 1);
    }
    gui::QtUserDialogs dialogs;
    gui::MainWindow window(store, dialogs, {{0, 1, 0}, windows.folder.path()});
    window.resize(1280, 800);
    window.show();
    Show(window);
    const double before = ResidentMegabytes();

    const auto start = Clock::now();
    std::string error;
    std::shared_ptr<data::clsDataRecordSet> recordSet = read(error);
    const double readSeconds = SecondsSince(start);
    if (!recordSet || !window.TakeRecordSet(recordSet)) {
        std::fprintf(stderr, "opening failed: %s\n", error.c_str());
        return 1;
    }
    recordSet.reset();
    const double takenSeconds = SecondsSince(start);
    Show(window);
    const double opened = SecondsSince(start);
    const std::int32_t records = window.RecordSet()->RecordCount();
    std::printf("%s: %d records, opened and shown %d table rows x %d columns in %.2f s "
                "(read %.2f s, table laid out %.2f s, shown %.2f s)\n",
                what, records, window.Grid().RowCount(), window.Grid().ColumnCount(), opened,
                readSeconds, takenSeconds - readSeconds, opened - takenSeconds);
    // Freed heap that malloc keeps for reuse is no memory the window holds.
    malloc_trim(0);
    const double held = ResidentMegabytes() - before;
    std::printf("  peak resident memory %.1f MB (%.1f MB before opening); the window holds "
                "%.1f MB more, %.2f KB a record (table %.2f KB)\n",
                PeakResidentMegabytes(RUSAGE_SELF), before, held, held * 1024.0 / records,
                static_cast<double>(window.Grid().BytesHeld()) / 1024.0 / records);
    if (!refreshes) {
        return 0;
    }
    window.View()->ScrollTo({window.View()->ScrollingView()->model()->rowCount() / 2, 0});
    const auto timed = [&window](const char* change, const std::function<void()>& act) {
        const auto refresh = Clock::now();
        act();
        Show(window);
        std::printf("  RefreshTable after %s, shown: %.3f s\n", change, SecondsSince(refresh));
    };
    timed("a unit change", [&window] {
        window.OnViewOptionChanged(modConfig::kUnitTemperature, modUnits::kUnitCelsius);
    });
    timed("an option switched off",
          [&window] { window.OnViewOptionChanged(modConfig::kShowParticleNorm, 0); });
    timed("the option switched on again",
          [&window] { window.OnViewOptionChanged(modConfig::kShowParticleNorm, 1); });
    std::printf("  peak resident memory after the refreshes: %.1f MB\n",
                PeakResidentMegabytes(RUSAGE_SELF));
    return 0;
}

int OpenFile(const std::string& path) {
    return OpenAndReport(
        "record-set file",
        [&path](std::string& error) -> std::shared_ptr<data::clsDataRecordSet> {
            data::RecordSetReadResult read = data::ReadRecordSetJson(path);
            error = read.error;
            return std::move(read.recordSet);
        },
        true);
}

int OpenArchive(const std::string& sqlitePath) {
    return OpenAndReport(
        "a year from the archive",
        [&sqlitePath](std::string&) -> std::shared_ptr<data::clsDataRecordSet> {
            archive::ArchiveSettings settings;
            settings.sqlitePath = sqlitePath;
            archive::Archive archive(settings, archive::Access::kRead);
            return std::move(archive.Query({1, "", std::nullopt, std::nullopt, {}}).recordSet);
        },
        false);
}

// A year of the sample instrument, downloaded in kDownloads parts.
void ArchiveYear(const std::string& sqlitePath) {
    archive::ArchiveSettings settings;
    settings.sqlitePath = sqlitePath;
    archive::Archive archive(settings);
    constexpr std::int32_t part = bench::kYearOfRecords / kDownloads;
    for (std::int32_t download = 0; download < kDownloads; ++download) {
        archive.Store(*bench::BuildSampleRecordSet(part, download * part, 2.0),
                      {archive::kEventDownload, 150});
    }
}

bool RunChild(const char* self, const char* mode, const std::string& path) {
    const pid_t child = fork();
    if (child == 0) {
        execl("/proc/self/exe", self, mode, path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc == 3 && std::strcmp(argv[1], "--open") == 0) {
        return OpenFile(argv[2]);
    }
    if (argc == 3 && std::strcmp(argv[1], "--archive") == 0) {
        return OpenArchive(argv[2]);
    }
    QCoreApplication application(argc, argv);
    QTemporaryDir folder;
    const std::string file = folder.filePath("memory.json").toStdString();
    const std::string sqlite = folder.filePath("archive.sqlite").toStdString();
    {
        const auto set = bench::BuildSampleRecordSet();
        std::string error;
        if (!data::WriteRecordSetJson(*set, file, error)) {
            std::fprintf(stderr, "%s\n", error.c_str());
            return 1;
        }
    }
    bool ok = RunChild(argv[0], "--open", file);
    try {
        ArchiveYear(sqlite);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    ok = RunChild(argv[0], "--archive", sqlite) && ok;
    return ok ? 0 : 1;
}
