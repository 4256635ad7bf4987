#include "kestrix/gui/main/RunningWindowLink.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QWidget>
#include <future>
#include <gtest/gtest.h>

namespace kestrix::gui {
namespace {

// The asking side blocks, as a second instance does; the window's side answers from its loop.
bool AskFromAnotherThread(const QString& socketPath) {
    std::future<bool> asked = std::async(
        std::launch::async, [socketPath] { return RunningWindowLink::AskToRaise(socketPath); });
    while (asked.wait_for(std::chrono::milliseconds(10)) != std::future_status::ready) {
        QCoreApplication::processEvents();
    }
    return asked.get();
}

TEST(RunningWindowLink, ASecondStartBringsTheMinimizedWindowBack) {
    QTemporaryDir runtime;
    const QString socketPath = runtime.filePath("kestrix.socket");
    QWidget window;
    const RunningWindowLink link(window, socketPath);
    window.showMinimized();
    ASSERT_TRUE(window.isMinimized());

    EXPECT_TRUE(AskFromAnotherThread(socketPath));
    EXPECT_FALSE(window.isMinimized());
    EXPECT_TRUE(window.isVisible());
}

TEST(RunningWindowLink, NobodyListeningIsNoRaise) {
    QTemporaryDir runtime;
    EXPECT_FALSE(RunningWindowLink::AskToRaise(runtime.filePath("kestrix.socket")));
    EXPECT_FALSE(RunningWindowLink::AskToRaise(QString()));
}

} // namespace
} // namespace kestrix::gui
