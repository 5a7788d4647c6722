#pragma once
// The base of every headless control: name, enabled and visible switches, the changed flag, the
// bound column and the focus, which it asks of its form.
//
// Two kinds of entry points are kept apart in every control:
// - what a person does (user_type, user_pick, user_leave, user_key, user_click, user_check)
//   raises the user events and marks the control changed;
// - what code does (set_text, select_value, enable, show, ...) raises only the value-change
//   events, never the user ones.

#include <string>

#include "framework/event.h"

namespace condpag {

// Key codes and shift states of the key-down events.
inline constexpr int kKeyTab = 9;
inline constexpr int kKeyEnter = 13;
inline constexpr int kShiftNone = 0;
inline constexpr int kShiftShift = 1;
inline constexpr int kShiftCtrl = 2;
inline constexpr int kShiftAlt = 4;

class Form;

class Control {
  public:
    // Registers the control with its form under its name; the form must outlive it.
    Control(Form& form, std::string name);
    virtual ~Control();
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;

    const std::string& name() const { return name_; }
    Form& form() const { return *form_; }

    // The words a person reads beside the control ("Codice"); used in the frames' messages.
    const std::string& caption() const { return caption_; }
    void set_caption(std::string caption);

    bool enabled() const { return enabled_; }
    void enable(bool on = true);
    bool visible() const { return visible_; }
    void show(bool on = true);
    // The second enable switch of the day and day/month boxes; the windows set it together with
    // enabled. A control takes input only when both are on.
    bool enabled2() const { return enabled2_; }
    void enable2(bool on = true);
    // Whether a person can put the focus in it and act on it now.
    bool available() const { return enabled_ && enabled2_ && visible_; }
    // Controls that only show (labels, group boxes) never take the focus.
    virtual bool focusable() const { return true; }

    // Set when a person changes the value; cleared by the windows after they write the bound
    // column themselves, and by the data frame whenever it shows a row.
    bool changed() const { return changed_; }
    void set_changed(bool on) { changed_ = on; }

    // The column of its data frame's record set that the control edits ("" when unbound).
    const std::string& bound_column() const { return bound_column_; }
    void set_bound_column(std::string column) { bound_column_ = std::move(column); }

    // Puts the input focus in the control (code: no leave event on the control left).
    void SetTextFocus();
    bool has_focus() const;

    // A person presses a key while the control has the focus. Tab (and Enter in boxes) without
    // modifiers queues a focus move to the next control of the form's tab order before KeyDown
    // is raised, so a handler that processes pending events (Form::DoEvents) finds the focus
    // moved; a handler that sets the key to 0 swallows it and the move is dropped. Pending events
    // are processed afterwards. Answers the key as the handlers left it.
    int user_key(int key, int shift = 0);
    // A person moves the focus away; answers false when the control keeps it (Validate).
    virtual bool user_leave() { return true; }

    // Raised whenever anything the control shows changes (text, switches, items); the Qt view
    // refreshes its widget on it.
    Event<> StateChanged;
    // Raised after a person changed the value (typed, picked, ticked); the data frame copies
    // the value to the bound column on it. Never raised by code writes.
    Event<> Edited;
    // Key code by reference (0 swallows the key) and shift state (1 Shift, 2 Ctrl, 4 Alt).
    Event<int&, int> KeyDown;

  protected:
    // Whether a key press moves the focus on to the next control.
    virtual bool key_moves_focus(int key, int shift) const;
    // What the control itself does with a key the handlers let through.
    virtual void key_default(int key, int shift) {
        (void)key;
        (void)shift;
    }
    void notify() { StateChanged.emit(); }
    // What a person's edit does in every control: mark it changed, then tell the frame.
    void user_edited();

  private:
    Form* form_;
    std::string name_;
    std::string caption_;
    std::string bound_column_;
    bool enabled_ = true;
    bool enabled2_ = true;
    bool visible_ = true;
    bool changed_ = false;
};

}  // namespace condpag
