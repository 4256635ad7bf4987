#pragma once

// A main window over a configuration file of its own in a temporary folder, its dialogs
// scripted, under Qt's offscreen platform.

#include "ScriptedDialogs.h"
#include "kestrix/archive/Archive.h"
#include "kestrix/gui/main/MainWindow.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/table/DataTableTestSupport.h"

#include <QApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kestrix::gui::testing {

inline void EnsureApplication() {
    if (!QApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "kestrix_gui_tests";
        static char* argv[] = {name, nullptr};
        new QApplication(argc, argv);
    }
}

inline std::shared_ptr<data::clsDataRecordSet> SmallRecordSet(const std::string& sensorName,
                                                              int records = 3) {
    table::testing::RecordSetSpec spec;
    spec.sensorName = sensorName;
    std::vector<table::testing::SampleSpec> samples(static_cast<std::size_t>(records));
    for (int i = 0; i < records; ++i) {
        samples[static_cast<std::size_t>(i)].timeStamp += i / 1440.0;
        samples[static_cast<std::size_t>(i)].locationId = i + 1;
    }
    return table::testing::MakeRecordSet(spec, samples);
}

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { EnsureApplication(); }

    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        store.LoadConfig(Path("config.ini").toStdString());
        OpenWindow();
    }

    void OpenWindow(const QString& programFolder = {}) {
        window = std::make_unique<MainWindow>(
            store, dialogs,
            ProgramInfo{{1, 6, 2}, programFolder.isEmpty() ? folder.path() : programFolder});
    }

    QString Path(const QString& name) const { return folder.filePath(name); }

    // The archive beside the configuration file and its events, oldest first.
    archive::ArchiveSettings ConfigArchive() const {
        return archive::ReadArchiveSettings(store.GetConfigPath());
    }
    std::vector<archive::EventEntry> ArchivedEvents() const {
        return archive::Archive(ConfigArchive()).Events();
    }
    std::vector<std::string> ArchivedKinds() const {
        std::vector<std::string> kinds;
        for (const archive::EventEntry& entry : ArchivedEvents()) {
            kinds.push_back(entry.event.kind);
        }
        return kinds;
    }

    QTemporaryDir folder;
    modConfig::ConfigStore store;
    ScriptedDialogs dialogs;
    std::unique_ptr<MainWindow> window;
};

} // namespace kestrix::gui::testing
