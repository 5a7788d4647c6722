#include "framework/control.h"

#include "framework/form.h"

namespace condpag {

Control::Control(Form& form, std::string name) : form_(&form), name_(std::move(name)) {
    form_->add_control(*this);
}

Control::~Control() { form_->remove_control(*this); }

void Control::set_caption(std::string caption) {
    caption_ = std::move(caption);
    notify();
}

void Control::enable(bool on) {
    if (enabled_ == on) return;
    enabled_ = on;
    notify();
}

void Control::show(bool on) {
    if (visible_ == on) return;
    visible_ = on;
    notify();
}

void Control::enable2(bool on) {
    if (enabled2_ == on) return;
    enabled2_ = on;
    notify();
}

void Control::SetTextFocus() { form_->set_focus(this); }

bool Control::has_focus() const { return form_->focus() == this; }

bool Control::key_moves_focus(int key, int shift) const { return key == kKeyTab && shift == 0; }

int Control::user_key(int key, int shift) {
    if (!has_focus() && !form_->user_focus(this)) return key;
    Form::Ticket move = 0;
    if (key_moves_focus(key, shift)) {
        if (Control* next = form_->next_in_tab_order(this)) {
            move = form_->post([this, next] {
                if (form_->focus() == this) form_->user_focus(next);
            });
        }
    }
    KeyDown.emit(key, shift);
    if (key == 0 && move != 0) form_->cancel(move);
    if (key != 0) key_default(key, shift);
    form_->DoEvents();
    return key;
}

void Control::user_edited() {
    changed_ = true;
    Edited.emit();
}

}  // namespace condpag
