#pragma once

// A titled group of the configuration bar that opens and closes with a click on its title.

#include <QWidget>

class QToolButton;
class QVBoxLayout;

namespace kestrix::gui {

class CollapsibleGroup : public QWidget {
    Q_OBJECT
public:
    CollapsibleGroup(const QString& key, const QString& title, QWidget* parent = nullptr);

    QString Key() const { return objectName(); }
    bool IsOpen() const;
    void SetOpen(bool open);
    // The group's body takes the widget over.
    void AddItem(QWidget* item);

private:
    QToolButton* header_;
    QWidget* body_;
    QVBoxLayout* bodyLayout_;
};

} // namespace kestrix::gui
