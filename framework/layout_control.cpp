#include "framework/layout_control.h"

namespace condpag {

LayoutControl::LayoutControl(Form& form, std::string name) : Control(form, std::move(name)) {}

void LayoutControl::Start(const std::string& grid_name) {
    if (!grid_name.empty()) grid_name_ = grid_name;
    started_ = true;
    if (registered_once_) return;
    registered_once_ = true;
    Registration.emit();
    notify();
}

void LayoutControl::Stop() { started_ = false; }

void LayoutControl::Register(Control& control, int code) { entries_.push_back({&control, code}); }

void LayoutControl::Arrange() {
    if (!registered_once_) Start();
    ++arrangements_;
    notify();
}

bool LayoutControl::query_resize() {
    bool allow = false;
    ResizeQuery.emit(allow);
    return allow;
}

}  // namespace condpag
