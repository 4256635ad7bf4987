#include "kestrix/gui/main/ConfigBar.h"

#include "kestrix/gui/main/CollapsibleGroup.h"
#include "kestrix/shell/modConfig.h"
#include "kestrix/window/configBarLayout.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace kestrix::gui {
namespace {

using window::BarControl;
using window::BarItem;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Lists without a label beside them are named for screen readers.
QString ListAccessibleName(const QString& name) {
    if (name == QLatin1String("cmbLocNameSource")) {
        return ConfigBar::tr("Location name source");
    }
    return ConfigBar::tr("Particle channels");
}

} // namespace

ConfigBar::ConfigBar(QWidget* parent) : QScrollArea(parent), content_(new QWidget) {
    setObjectName(QStringLiteral("xbarProp"));
    setAccessibleName(tr("Configuration bar"));
    setWidgetResizable(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    auto* layout = new QVBoxLayout(content_);
    layout->addStretch(1);
    setWidget(content_);
    CreateControls();
}

void ConfigBar::CreateControls() {
    for (const window::BarGroup& group : window::ConfigBarGroups()) {
        for (const BarItem& item : group.items) {
            QWidget* control = CreateControl(item);
            control->setObjectName(ToQString(item.control));
            control->hide();
            controls_.insert(control->objectName(), control);
            hosted_.append(control);
        }
    }
}

QWidget* ConfigBar::CreateControl(const BarItem& item) {
    const QString caption = ToQString(item.caption);
    switch (item.kind) {
    case BarControl::CheckBox: {
        auto* box = new QCheckBox(caption, content_);
        const std::int32_t setting = item.setting;
        connect(box, &QCheckBox::toggled, this, [this, setting](bool checked) {
            if (!loading_) {
                emit OptionChanged(setting, checked ? 1 : 0);
            }
        });
        return box;
    }
    case BarControl::Button: {
        auto* button = new QPushButton(caption, content_);
        const window::MainCommand command = *item.command;
        connect(button, &QPushButton::clicked, this,
                [this, command] { emit CommandRequested(command); });
        return button;
    }
    case BarControl::List:
        return AddList(ToQString(item.control), item.setting, content_);
    case BarControl::UnitFrame:
        return CreateUnitFrame(item);
    }
    return nullptr;
}

QWidget* ConfigBar::CreateUnitFrame(const BarItem& item) {
    auto* frame = new QWidget(content_);
    auto* form = new QFormLayout(frame);
    form->setContentsMargins(0, 0, 0, 0);
    for (const window::UnitList& list : item.unitLists) {
        auto* label = new QLabel(ToQString(list.label), frame);
        QComboBox* combo = AddList(ToQString(list.name), list.setting, frame);
        label->setBuddy(combo);
        combo->setAccessibleName(label->text());
        form->addRow(label, combo);
    }
    return frame;
}

QComboBox* ConfigBar::AddList(const QString& name, std::int32_t setting, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(name);
    combo->setAccessibleName(ListAccessibleName(name));
    for (const window::ListEntry& entry : window::ListEntries(name.toStdString())) {
        combo->addItem(QString::fromStdString(entry.text), entry.value);
    }
    connect(combo, &QComboBox::currentIndexChanged, this, [this, combo, setting](int index) {
        if (!loading_ && index >= 0) {
            emit OptionChanged(setting, combo->itemData(index).toInt());
        }
    });
    controls_.insert(name, combo);
    listSettings_.insert(name, setting);
    return combo;
}

CollapsibleGroup* ConfigBar::Group(const QString& key) const {
    for (CollapsibleGroup* group : groups_) {
        if (group->Key() == key) {
            return group;
        }
    }
    return nullptr;
}

void ConfigBar::RebuildConfigBar(bool iaqData) {
    const bool visible = isVisible();
    setUpdatesEnabled(false);
    QHash<QString, bool> open;
    for (CollapsibleGroup* group : std::as_const(groups_)) {
        open.insert(group->Key(), group->IsOpen());
        for (QWidget* control : std::as_const(hosted_)) {
            if (group->isAncestorOf(control)) {
                control->hide();
                control->setParent(content_);
            }
        }
        delete group;
    }
    groups_.clear();
    auto* layout = static_cast<QVBoxLayout*>(content_->layout());
    for (const window::BarGroup& spec : window::ConfigBarGroups()) {
        auto* group = new CollapsibleGroup(ToQString(spec.key), ToQString(spec.title), content_);
        for (const BarItem& item : spec.items) {
            if (!item.iaqOnly || iaqData) {
                group->AddItem(controls_.value(ToQString(item.control)));
            }
        }
        group->SetOpen(open.value(group->Key(), true));
        layout->insertWidget(layout->count() - 1, group);
        groups_.append(group);
    }
    setUpdatesEnabled(true);
    setVisible(visible);
    updateGeometry();
}

QSize ConfigBar::minimumSizeHint() const {
    // As wide as the widest control with room for the vertical scroll bar, so that the splitter
    // never cuts a control off.
    const int width = widget()->minimumSizeHint().width() + 2 * frameWidth() +
                      verticalScrollBar()->sizeHint().width();
    return {width, QScrollArea::minimumSizeHint().height()};
}

void ConfigBar::LoadViewOptions(const modConfig::ConfigStore& store) {
    loading_ = true;
    for (const window::BarGroup& group : window::ConfigBarGroups()) {
        for (const BarItem& item : group.items) {
            if (item.kind != BarControl::CheckBox) {
                continue;
            }
            auto* box = static_cast<QCheckBox*>(Control(ToQString(item.control)));
            box->setChecked(store.GetConfigValue(item.setting) != 0);
        }
    }
    for (auto it = listSettings_.cbegin(); it != listSettings_.cend(); ++it) {
        auto* combo = static_cast<QComboBox*>(controls_.value(it.key()));
        const auto entries = window::ListEntries(it.key().toStdString());
        combo->setCurrentIndex(window::ListIndexForSetting(it.key().toStdString(), entries,
                                                           store.GetConfigValue(it.value())));
    }
    loading_ = false;
}

} // namespace kestrix::gui
