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

RefusedNumber FirstRefusedNumber(const Form& window) {
    for (Control* control : window.controls()) {
        auto* box = dynamic_cast<EditBox*>(control);
        // A code looked up in a table is no number to read: it finds its row or nothing.
        if (box == nullptr || !box->numeric() || dynamic_cast<LookupBox*>(box) != nullptr ||
            RTrimN(box->text()).empty()) {
            continue;
        }
        if (auto number = LeggiImporto(box->text()); !number) {
            return {box, number.error().message};
        }
    }
    return {};
}

}  // namespace condpag
