#include "windows/form_texts.h"

#include "framework/choice_controls.h"
#include "framework/edit_box.h"

namespace condpag {

std::string FormTexts::text(std::string_view control) const {
    Control* found = window_->find(std::string(control));
    if (auto* box = dynamic_cast<EditBox*>(found)) return box->text();
    if (auto* list = dynamic_cast<ComboBox*>(found)) return list->text();
    if (auto* check = dynamic_cast<CheckBox*>(found)) return check->text();
    return {};
}

}  // namespace condpag
