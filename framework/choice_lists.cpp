#include "framework/choice_lists.h"

#include "framework/choice_controls.h"
#include "rules/code_tables.h"

namespace condpag {

bool load_choice_list(Form& window, const std::string& list_name) {
    std::optional<CodeTable> table = table_of_choice_list(list_name);
    ComboBox* list = window.find_as<ComboBox>(list_name);
    if (!table || list == nullptr) return false;
    list->AutoOpen = false;
    list->EraseCombo();
    for (const CodeEntry& entry : code_table(*table)) {
        list->AddItemData(std::string(entry.list_label), Value(entry.value));
    }
    return true;
}

bool load_CMB_TIPO(Form& window) { return load_choice_list(window, "CMB_TIPO"); }
bool load_CMB_TIPODECORR(Form& window) { return load_choice_list(window, "CMB_TIPODECORR"); }
bool load_CMB_CALENDARIO(Form& window) { return load_choice_list(window, "CMB_CALENDARIO"); }
bool load_CMB_DATARIF(Form& window) { return load_choice_list(window, "CMB_DATARIF"); }
bool load_CMB_FLGFRPERCIMP(Form& window) { return load_choice_list(window, "CMB_FLGFRPERCIMP"); }
bool load_CMB_FLGFRPERCIVA(Form& window) { return load_choice_list(window, "CMB_FLGFRPERCIVA"); }
bool load_CMB_TIPOIMPFIX(Form& window) { return load_choice_list(window, "CMB_TIPOIMPFIX"); }
bool load_CMB_TIPOSLIT(Form& window) { return load_choice_list(window, "CMB_TIPOSLIT"); }

}  // namespace condpag
