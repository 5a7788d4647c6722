#pragma once
// What a secondary window (subtypes, generation) reaches of the editor that opens it.

#include <string>

#include "framework/message_service.h"
#include "storage/connection.h"
#include "storage/recordset.h"

namespace condpag {

class CLSCO_CONDPAG;
class Cinterface;
class DataFrame;
class Grid;

class SecondaryWindowOwner {
  public:
    virtual ~SecondaryWindowOwner() = default;

    // The editor's database connection and the text it opened it with.
    virtual Connection& OwnerConnection() = 0;
    virtual std::string OwnerConnectionString() const = 0;
    // The editor's message routine: text, style, title, procedure name; answers the button.
    virtual Answer ShowMessage(const std::string& text, int style, const std::string& title,
                               const std::string& procedure = "") = 0;
    virtual Cinterface* OwnerInterface() const = 0;
    // The public component that owns the editor (handed on, never used here).
    virtual CLSCO_CONDPAG* OwnerComponent() const = 0;

    // The installment record set, its frame and its grid.
    virtual Recordset& InstallmentSet() = 0;
    virtual DataFrame& InstallmentFrame() = 0;
    virtual Grid& InstallmentGrid() = 0;
    // The text of the editor's code box.
    virtual std::string CodeText() const = 0;
};

}  // namespace condpag
