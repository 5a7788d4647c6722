#pragma once
// Choice-list loaders: one per list name. Each fills the list of that name on the window that
// owns it (nothing happens when the window has no such list): automatic opening off, list
// emptied, then every row of the code table in table order (label shown, stored value kept).

#include <string>

#include "framework/form.h"

namespace condpag {

bool load_CMB_TIPO(Form& window);
bool load_CMB_TIPODECORR(Form& window);
bool load_CMB_CALENDARIO(Form& window);
bool load_CMB_DATARIF(Form& window);
bool load_CMB_FLGFRPERCIMP(Form& window);
bool load_CMB_FLGFRPERCIVA(Form& window);
bool load_CMB_TIPOIMPFIX(Form& window);
bool load_CMB_TIPOSLIT(Form& window);

// The loader of a list by its name; false when the name has no loader or the window no list.
bool load_choice_list(Form& window, const std::string& list_name);

}  // namespace condpag
