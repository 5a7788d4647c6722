#pragma once
// What the checks read of a window. The editor and the generation window implement these; the
// checks only read, never move a record set or change a control.

#include <string>
#include <string_view>
#include <vector>

#include "rules/value.h"

namespace condpag {

// The text a control of the window shows ("" for a control the window lacks). A choice list
// gives the stored code of its selection as text.
class ControlTexts {
  public:
    virtual ~ControlTexts() = default;
    virtual std::string text(std::string_view control) const = 0;
};

// The editor as the installment, shift-period and header checks see it.
class EditorView : public ControlTexts {
  public:
    // The installment frame FME_DETTAGLIO holds a new installment (insert status).
    virtual bool installment_is_new() const = 0;
    // Host installation profile: 3 asks for one payment type and subtype per term.
    virtual int installation_profile() const = 0;
    // The current row of the installment record set: the installment being confirmed.
    virtual const Record& current_installment() const = 0;
    // Every row of the installment record set in list order, read without moving the current
    // row. The installment being confirmed is among them when the record set holds it.
    virtual std::vector<Record> installments() const = 0;
    // The installment as it was when the frame last entered view status or was last written.
    virtual const Record& remembered_installment() const = 0;
    // The current row of the header record set.
    virtual const Record& header() const = 0;
};

}  // namespace condpag
