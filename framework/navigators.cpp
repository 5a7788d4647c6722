#include "framework/navigators.h"

#include <algorithm>
#include <array>

#include "framework/data_frame.h"
#include "framework/form.h"

namespace condpag {
namespace {

std::vector<NavigatorButton> buttons_of(std::initializer_list<const char*> keys) {
    std::vector<NavigatorButton> out;
    for (const char* key : keys) out.push_back({key, key, true, true});
    return out;
}

}  // namespace

Navigator::Navigator(Form& form, std::string name, std::vector<NavigatorButton> buttons)
    : Control(form, std::move(name)), buttons_(std::move(buttons)) {}

NavigatorButton* Navigator::button(const std::string& key) {
    for (NavigatorButton& b : buttons_) {
        if (b.key == key) return &b;
    }
    return nullptr;
}

bool Navigator::has_button(const std::string& key) const {
    return std::any_of(buttons_.begin(), buttons_.end(),
                       [&](const NavigatorButton& b) { return b.key == key; });
}

bool Navigator::ButtonEnabled(const std::string& key) const {
    for (const NavigatorButton& b : buttons_) {
        if (b.key == key) return b.enabled;
    }
    return false;
}

void Navigator::EnableButton(const std::string& key, bool on) {
    if (NavigatorButton* b = button(key); b != nullptr && b->enabled != on) {
        b->enabled = on;
        notify();
    }
}

void Navigator::ShowButton(const std::string& key, bool on) {
    if (NavigatorButton* b = button(key); b != nullptr && b->visible != on) {
        b->visible = on;
        notify();
    }
}

bool Navigator::ButtonAvailable(const std::string& key) const {
    if (!available()) return false;
    for (const NavigatorButton& b : buttons_) {
        if (b.key == key) return b.enabled && b.visible;
    }
    return false;
}

bool Navigator::is_frame_command(const std::string& key) {
    static const std::array<const char*, 11> commands = {
        "Nuovo",      "Conferma", "Elimina", "Annulla", "Primo",   "Precedente",
        "Successivo", "Ultimo",   "Cerca",   "Trova",   "Modifica"};
    return std::any_of(commands.begin(), commands.end(),
                       [&](const char* command) { return key == command; });
}

bool Navigator::run_command(const std::string& key) {
    if (!is_frame_command(key)) return true;
    if (frame_ == nullptr) return false;
    return frame_->Command(key);
}

GridNavigator::GridNavigator(Form& form, std::string name)
    : Navigator(form, std::move(name),
                buttons_of({"Nuovo", "Conferma", "Elimina", "Annulla", "Esporta", "Stampa"})) {}

void GridNavigator::SelectButton(const std::string& key) {
    if (!has_button(key)) return;
    current_ = key;
    notify();
    SetTextFocus();
}

bool GridNavigator::user_click(const std::string& key) {
    if (!ButtonAvailable(key)) return false;
    if (!has_focus() && !form().user_focus(this)) return false;
    current_ = key;
    ButtonClick.emit(key);
    bool success = run_command(key);
    AfterButtonClick.emit(success, key);
    notify();
    return success;
}

void GridNavigator::key_default(int key, int shift) {
    if (key == kKeyEnter && shift == 0) user_press();
}

bool GridNavigator::user_press() {
    if (current_.empty()) return false;
    return user_click(current_);
}

RecordNavigator::RecordNavigator(Form& form, std::string name)
    : Navigator(
          form, std::move(name),
          buttons_of({"Primo", "Precedente", "Successivo", "Ultimo", "Nuovo", "Cerca", "Trova",
                      "Conferma", "Elimina", "Annulla", "Indietro", "Avanti", "Esporta"})) {
    ShowButton("Esporta", false);
}

void RecordNavigator::AddButton(const std::string& key, const std::string& caption,
                                const std::string& beside_key) {
    if (has_button(key)) return;
    auto at = std::find_if(buttons_.begin(), buttons_.end(),
                           [&](const NavigatorButton& b) { return b.key == beside_key; });
    if (at != buttons_.end()) ++at;
    buttons_.insert(at, {key, caption, true, true});
    notify();
}

bool RecordNavigator::ExecuteCommand(const std::string& key) { return run_command(key); }

void RecordNavigator::SetCalled(bool on) {
    called_ = on;
    ShowButton("Esporta", on);
}

bool RecordNavigator::user_click(const std::string& key) {
    if (!ButtonAvailable(key)) return false;
    Click.emit(key);
    bool success = run_command(key);
    AfterClick.emit(success, key);
    notify();
    return success;
}

}  // namespace condpag
