#pragma once

// Drives a wizard as a user does, through its buttons, against kestrix-sim on a pseudo-terminal
// bound to COM 1.

#include "SimProcess.h"
#include "kestrix/gui/wizards/WizardFrame.h"
#include "kestrix/ini/IniFile.h"
#include "kestrix/shell/modConfig.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <memory>
#include <string>

namespace kestrix::gui::testing {

// Long enough for any step on a loaded machine; it only guards against a hang.
inline constexpr int kStepWaitMs = 120000;

// The simulator's link is bound to COM 1 in the configuration file, as a user binds a device.
inline std::unique_ptr<sim::test::SimProcess> StartSimulator(const std::vector<std::string>& args,
                                                             const std::string& configPath) {
    auto simulator = std::make_unique<sim::test::SimProcess>(args);
    EXPECT_TRUE(simulator->WaitReady()) << simulator->ErrorText();
    IniFile config(configPath);
    EXPECT_TRUE(config.Load());
    EXPECT_TRUE(config.SetString("ports", "COM1", simulator->Link()) && config.Save());
    return simulator;
}

// A simulator on the scenario, written to scenarioPath, bound to COM 1 at address 1.
inline std::unique_ptr<sim::test::SimProcess> StartScenario(const std::string& scenario,
                                                            const QString& scenarioPath,
                                                            modConfig::ConfigStore& store) {
    std::ofstream(scenarioPath.toStdString()) << scenario;
    auto simulator =
        StartSimulator({"--scenario", scenarioPath.toStdString()}, store.GetConfigPath());
    store.SetConfigValue(modConfig::kComPort, 1);
    store.SetConfigValue(modConfig::kDeviceAddress, 1);
    return simulator;
}

template <typename Condition>
bool WaitFor(Condition condition) {
    return QTest::qWaitFor(condition, kStepWaitMs);
}

inline void Click(QPushButton* button) {
    ASSERT_TRUE(button->isVisible() && button->isEnabled()) << button->text().toStdString();
    QTest::mouseClick(button, Qt::LeftButton);
}

inline bool LabelShown(const QWidget& wizard, const char* name) {
    const auto* label = wizard.findChild<QLabel*>(name);
    return label && label->isVisible();
}

} // namespace kestrix::gui::testing
