#pragma once

// For benchmarks that lay windows out: an offscreen application and a configuration file of their
// own in a temporary folder. Header-only: only the window benchmarks link Qt Widgets.

#include "kestrix/shell/modConfig.h"

#include <QApplication>
#include <QTemporaryDir>

namespace kestrix::bench {

class OffscreenWindows {
public:
    explicit OffscreenWindows(const char* name)
        : argv_{const_cast<char*>(name), nullptr}, app_(Offscreen(argc_), argv_) {
        store.LoadConfig(folder.filePath("config.ini").toStdString());
    }

private:
    // The platform is chosen before the application is made.
    static int& Offscreen(int& argc) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        return argc;
    }

    int argc_ = 1;
    char* argv_[2];
    QApplication app_;

public:
    QTemporaryDir folder;
    modConfig::ConfigStore store;
};

} // namespace kestrix::bench
