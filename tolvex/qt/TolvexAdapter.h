#pragma once

#include "CTolvexCtrl.h"

#include <QObject>
#include <QSocketNotifier>
#include <memory>

namespace tolvex {

// A QObject that owns one control and turns its completion notices into Qt signals on the thread
// that owns the adapter, through the control's event descriptor.
class TolvexAdapter : public QObject {
    Q_OBJECT

public:
    explicit TolvexAdapter(QObject* parent = nullptr);
    ~TolvexAdapter() override;

    CTolvexCtrl& Control() { return *control_; }

signals:
    void ResultOk(short handle);
    void ResultError(short handle, short error);

private:
    std::unique_ptr<CTolvexCtrl> control_;
    QSocketNotifier* notifier_;
};

} // namespace tolvex
