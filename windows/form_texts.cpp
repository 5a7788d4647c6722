#include "windows/form_texts.h"

#include "framework/choice_controls.h"
#include "framework/edit_box.h"
#include "rules/italian_format.h"
#include "rules/value.h"

namespace condpag {

std::string FormTexts::text(std::string_view control) const {
    Control* found = window_->find(std::string(control));
    if (auto* box = dynamic_cast<EditBox*>(found)) {
        if (box->numeric() && !RTrimN(box->text()).empty()) {
            if (auto number = LeggiImporto(box->text())) return decimal_text(*number);
        }
        return box->text();
    }
    if (auto* list = dynamic_cast<ComboBox*>(found)) return list->text();
    if (auto* check = dynamic_cast<CheckBox*>(found)) return check->text();
    return {};
}

}  // namespace condpag
