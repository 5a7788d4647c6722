#pragma once
// The base of every window: its controls by name, the input focus, the queue of pending window
// events, the caption and the modal result. The window's own controls and handlers live in the
// class that derives from it.

#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "framework/event.h"

namespace condpag {

class Control;
class LookupRunner;

class Form {
  public:
    explicit Form(std::string name);
    virtual ~Form();
    Form(const Form&) = delete;
    Form& operator=(const Form&) = delete;

    const std::string& name() const { return name_; }
    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption) { caption_ = std::move(caption); }
    int modal_result() const { return modal_result_; }
    void set_modal_result(int result) { modal_result_ = result; }

    // Controls register themselves when they are built, in declaration order.
    void add_control(Control& control);
    void remove_control(Control& control);
    const std::vector<Control*>& controls() const { return controls_; }
    Control* find(const std::string& name) const;
    template <typename T>
    T* find_as(const std::string& name) const {
        return dynamic_cast<T*>(find(name));
    }

    // The control with the input focus, or nullptr.
    Control* focus() const { return focus_; }
    // Code moves the focus: no leave event on the control left. A control that is not
    // available (disabled or hidden) does not take it.
    bool set_focus(Control* control);
    // A person moves the focus: the control left may refuse (its Validate), then it raises its
    // Leave. Answers whether the focus moved.
    bool user_focus(Control* control);

    // The order in which Tab moves the focus; by default the order of registration.
    void set_tab_order(std::vector<Control*> order) { tab_order_ = std::move(order); }
    // The next available control after `from` in the tab order (wrapping), or nullptr.
    Control* next_in_tab_order(const Control* from) const;

    // Pending window events: posted tasks run, in order, when the window processes them.
    using Ticket = std::uint64_t;
    Ticket post(std::function<void()> task);
    void cancel(Ticket ticket);
    // Processes pending window events (tasks posted while processing run too).
    void DoEvents();
    size_t pending_events() const { return queue_.size(); }

    // Runs the statements of the lookup boxes and lets a person choose; nullptr: no lookups.
    LookupRunner* lookup_runner() const { return lookup_runner_; }
    void set_lookup_runner(LookupRunner* runner) { lookup_runner_ = runner; }

    // The window asks to be closed (its own button, or after handing back a value); the shell
    // that shows it closes it.
    void Close();
    bool close_requested() const { return close_requested_; }

    Event<> FocusChanged;
    Event<> CloseRequested;

  private:
    struct Task {
        Ticket ticket;
        std::function<void()> run;
    };
    std::string name_;
    std::string caption_;
    int modal_result_ = 0;
    std::vector<Control*> controls_;
    std::vector<Control*> tab_order_;
    Control* focus_ = nullptr;
    std::deque<Task> queue_;
    Ticket next_ticket_ = 1;
    LookupRunner* lookup_runner_ = nullptr;
    bool close_requested_ = false;
};

}  // namespace condpag
