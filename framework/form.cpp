#include "framework/form.h"

#include <algorithm>

#include "framework/control.h"

namespace condpag {

Form::Form(std::string name) : name_(std::move(name)), caption_(name_) {}

Form::~Form() = default;

void Form::add_control(Control& control) { controls_.push_back(&control); }

void Form::remove_control(Control& control) {
    std::erase(controls_, &control);
    std::erase(tab_order_, &control);
    if (focus_ == &control) focus_ = nullptr;
}

Control* Form::find(const std::string& name) const {
    for (Control* control : controls_) {
        if (control->name() == name) return control;
    }
    return nullptr;
}

bool Form::set_focus(Control* control) {
    if (control != nullptr && (!control->available() || !control->focusable())) return false;
    if (focus_ == control) return true;
    focus_ = control;
    FocusChanged.emit();
    return true;
}

bool Form::user_focus(Control* control) {
    if (control != nullptr && (!control->available() || !control->focusable())) return false;
    if (focus_ == control) return true;
    if (focus_ != nullptr) {
        Control* leaving = focus_;
        if (!leaving->user_leave()) return false;
        // A Leave handler may have put the focus somewhere itself; that wins.
        if (focus_ != leaving) return false;
    }
    focus_ = control;
    FocusChanged.emit();
    return true;
}

Control* Form::next_in_tab_order(const Control* from) const {
    const std::vector<Control*>& order = tab_order_.empty() ? controls_ : tab_order_;
    if (order.empty()) return nullptr;
    auto at = std::find(order.begin(), order.end(), from);
    size_t start = at == order.end() ? order.size() - 1 : static_cast<size_t>(at - order.begin());
    for (size_t step = 1; step <= order.size(); ++step) {
        Control* candidate = order[(start + step) % order.size()];
        if (candidate != from && candidate->focusable() && candidate->available()) {
            return candidate;
        }
    }
    return nullptr;
}

Form::Ticket Form::post(std::function<void()> task) {
    Ticket ticket = next_ticket_++;
    queue_.push_back({ticket, std::move(task)});
    return ticket;
}

void Form::cancel(Ticket ticket) {
    std::erase_if(queue_, [ticket](const Task& task) { return task.ticket == ticket; });
}

void Form::DoEvents() {
    while (!queue_.empty()) {
        Task task = std::move(queue_.front());
        queue_.pop_front();
        task.run();
    }
}

void Form::Close() {
    close_requested_ = true;
    CloseRequested.emit();
}

}  // namespace condpag
