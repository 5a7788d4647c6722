#pragma once
// The host's lookup services for the host's own tables: each gives the statement, columns, title
// and lookup name of a list, and the statement and result columns that decode a typed code.
// The editor creates one per list at load and gives it the host interface.

#include <string>
#include <vector>

#include "framework/edit_box.h"

namespace condpag {

class Cinterface;

class LookupService {
  public:
    virtual ~LookupService() = default;
    virtual void SetInterface(Cinterface* host) = 0;
    // Prepares the list; the argument is optional ("" leaves it out).
    virtual void Prepare(const std::string& argument = "") = 0;
    virtual std::string Statement() const = 0;
    virtual std::vector<LookupColumn> Columns() const = 0;
    virtual std::string Title() const = 0;
    virtual std::string LookupName() const = 0;
    // Decoding a typed code: a statement whose first row holds the result columns.
    virtual std::string DecodeStatement(const std::string& code) const = 0;
    virtual std::vector<std::string> DecodeColumns() const = 0;
};

// A list over one table: its code and description columns, in code order.
struct LookupTable {
    std::string table;
    std::string code_column;
    std::string description_column;
    std::string title;
    std::string lookup_name;
};

class TableLookupService : public LookupService {
  public:
    explicit TableLookupService(LookupTable table) : table_(std::move(table)) {}
    void SetInterface(Cinterface* host) override { host_ = host; }
    Cinterface* interface() const { return host_; }
    void Prepare(const std::string& argument = "") override { argument_ = argument; }
    std::string Statement() const override;
    std::vector<LookupColumn> Columns() const override;
    std::string Title() const override;
    std::string LookupName() const override { return table_.lookup_name; }
    std::string DecodeStatement(const std::string& code) const override;
    std::vector<std::string> DecodeColumns() const override;

  private:
    LookupTable table_;
    Cinterface* host_ = nullptr;
    std::string argument_;
};

// The host's language table (MG52_LINGUE).
LookupTable language_table();
// The payment terms (CG62_CONDPAGDES), for the code box of the editor.
LookupTable payment_term_table();

}  // namespace condpag
