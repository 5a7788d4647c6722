#include "framework/choice_controls.h"

#include "framework/form.h"

namespace condpag {

ComboBox::ComboBox(Form& form, std::string name) : Control(form, std::move(name)) {}

bool ComboBox::key_moves_focus(int key, int shift) const {
    return (key == kKeyTab || key == kKeyEnter) && shift == 0;
}

void ComboBox::EraseCombo() {
    bool had_selection = index_ >= 0;
    items_.clear();
    index_ = -1;
    notify();
    if (had_selection) ValueChanged.emit(std::string());
}

void ComboBox::AddItemData(std::string label, const Value& stored) {
    items_.push_back({std::move(label), stored.to_text()});
    notify();
}

std::string ComboBox::text() const { return index_ >= 0 ? items_[index_].value : std::string(); }

std::string ComboBox::label() const { return index_ >= 0 ? items_[index_].label : std::string(); }

double ComboBox::code() const { return CDecN(text()); }

bool ComboBox::select(int index) {
    if (index == index_) return false;
    index_ = index;
    notify();
    ValueChanged.emit(text());
    return true;
}

void ComboBox::select_value(const Value& stored) {
    int found = -1;
    if (!stored.is_null()) {
        for (size_t i = 0; i < items_.size(); ++i) {
            if (same_code(Value(items_[i].value), stored)) {
                found = static_cast<int>(i);
                break;
            }
        }
    }
    select(found);
}

bool ComboBox::user_pick(int index) {
    if (!available() || index < 0 || index >= static_cast<int>(items_.size())) return false;
    if (!has_focus() && !form().user_focus(this)) return false;
    if (index != index_) {
        index_ = index;
        notify();
        user_edited();
        ValueChanged.emit(text());
    }
    Pick.emit();
    return true;
}

bool ComboBox::user_pick_value(const Value& stored) {
    for (size_t i = 0; i < items_.size(); ++i) {
        if (same_code(Value(items_[i].value), stored)) return user_pick(static_cast<int>(i));
    }
    return false;
}

CheckBox::CheckBox(Form& form, std::string name) : Control(form, std::move(name)) {}

void CheckBox::set_checked(bool on) {
    if (checked_ == on) return;
    checked_ = on;
    notify();
    Change.emit();
}

void CheckBox::set_text(const std::string& text) { set_checked(same_code(Value(text), Value(1))); }

bool CheckBox::user_check(bool on) {
    if (!available()) return false;
    if (!has_focus() && !form().user_focus(this)) return false;
    if (checked_ != on) {
        checked_ = on;
        notify();
        user_edited();
        Change.emit();
    }
    Click.emit();
    return true;
}

Label::Label(Form& form, std::string name, std::string text)
    : Control(form, std::move(name)), text_(std::move(text)) {}

void Label::set_text(std::string text) {
    text_ = std::move(text);
    notify();
}

GroupBox::GroupBox(Form& form, std::string name, std::string text)
    : Control(form, std::move(name)), text_(std::move(text)) {}

void GroupBox::set_text(std::string text) {
    text_ = std::move(text);
    notify();
}

CommandButton::CommandButton(Form& form, std::string name, std::string caption)
    : Control(form, std::move(name)), text_(std::move(caption)) {}

void CommandButton::set_text(std::string caption) {
    text_ = std::move(caption);
    notify();
}

bool CommandButton::user_click() {
    if (!available()) return false;
    if (!has_focus() && !form().user_focus(this)) return false;
    Click.emit();
    return true;
}

bool CommandButton::key_moves_focus(int key, int shift) const {
    return key == kKeyTab && shift == 0;
}

void CommandButton::key_default(int key, int shift) {
    if (key == kKeyEnter && shift == 0) user_click();
}

TabStrip::TabStrip(Form& form, std::string name, std::vector<std::string> captions)
    : Control(form, std::move(name)), captions_(std::move(captions)) {}

void TabStrip::set_captions(std::vector<std::string> captions) {
    captions_ = std::move(captions);
    if (tab_ >= tab_count()) tab_ = 0;
    notify();
}

void TabStrip::set_tab(int tab) {
    if (tab < 0 || tab >= tab_count() || tab == tab_) return;
    tab_ = tab;
    notify();
    Click.emit();
}

bool TabStrip::user_click(int tab) {
    if (!available() || tab < 0 || tab >= tab_count()) return false;
    if (tab == tab_) return true;
    tab_ = tab;
    notify();
    Click.emit();
    return true;
}

}  // namespace condpag
