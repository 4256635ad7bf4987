#include "TolvexAdapter.h"

namespace tolvex {

TolvexAdapter::TolvexAdapter(QObject* parent)
    : QObject(parent), control_(std::make_unique<CTolvexCtrl>()),
      notifier_(new QSocketNotifier(control_->EventDescriptor(), QSocketNotifier::Read, this)) {
    control_->SetEventHandlers({
        [this](short handle) { emit ResultOk(handle); },
        [this](short handle, short error) { emit ResultError(handle, error); },
    });
    connect(notifier_, &QSocketNotifier::activated, this, [this] { control_->DispatchEvents(); });
}

TolvexAdapter::~TolvexAdapter() {
    // The notifier watches the control's descriptor: it goes first.
    delete notifier_;
    control_->CloseConnection();
}

} // namespace tolvex
