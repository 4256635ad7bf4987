#pragma once

// The configuration bar: the table's view options and units in collapsible groups, and buttons
// that run main-window commands. It shows and forwards; storing a setting and laying the table
// out again is the window's work.

#include "kestrix/window/configBarLayout.h"

#include <QComboBox>
#include <QHash>
#include <QScrollArea>
#include <cstdint>

namespace kestrix::modConfig {
class ConfigStore;
}

namespace kestrix::gui {

class CollapsibleGroup;

class ConfigBar : public QScrollArea {
    Q_OBJECT
public:
    explicit ConfigBar(QWidget* parent = nullptr);

    // Builds the groups anew; the mass-concentration and PM items only for IAQ data. Groups keep
    // their open or closed state.
    void RebuildConfigBar(bool iaqData);
    // Fills the unit lists and sets every control from the settings, without OptionChanged.
    void LoadViewOptions(const modConfig::ConfigStore& store);

    // The hosted control of that name ("chkShowPartRaw"), null when there is none.
    QWidget* Control(const QString& name) const { return controls_.value(name); }
    CollapsibleGroup* Group(const QString& key) const;

    QSize minimumSizeHint() const override;

signals:
    void OptionChanged(std::int32_t setting, std::int32_t value);
    void CommandRequested(window::MainCommand command);

private:
    void CreateControls();
    QWidget* CreateControl(const window::BarItem& item);
    QWidget* CreateUnitFrame(const window::BarItem& item);
    QComboBox* AddList(const QString& name, std::int32_t setting, QWidget* parent);

    QWidget* content_;
    QHash<QString, QWidget*> controls_; // every control by name, the lists in frames too
    QList<QWidget*> hosted_;            // what the groups host, in bar order
    QHash<QString, std::int32_t> listSettings_;
    QList<CollapsibleGroup*> groups_;
    bool loading_ = false;
};

} // namespace kestrix::gui
