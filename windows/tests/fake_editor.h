#pragma once
// A stand-in for the editor that opens the secondary windows: a real installment record set of
// one payment term on a demo database, its detail frame and grid, the host objects, and a
// message routine that records what it was asked to show.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/data_frame.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/grid.h"
#include "framework/host.h"
#include "framework/lookup_runner.h"
#include "framework/message_service.h"
#include "framework/secondary_window.h"
#include "rules/records.h"
#include "storage/statements.h"
#include "storage/testing/demo_database.h"

namespace condpag::testing {

struct RoutedMessage {
    std::string text;
    int style;
};

class FakeEditor : public Form, public SecondaryWindowOwner {
  public:
    explicit FakeEditor(std::string code) : Form("FRMCO_CONDPAG"), code_(std::move(code)) {
        auto opened = database.connect();
        EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().message);
        if (opened.ok()) connection = *opened;
        global.SetConnectionString(database.connection_string());
        global.SetMessageObject(&host_messages);
        host.SetClsGlobal(&global);
        host.SetConnection(connection);
        lookups = HeadlessLookupRunner(connection);
        set_lookup_runner(&lookups);

        EXPECT_TRUE(installments.Open(load_installments_statement(code_), connection).ok());
        TXT_NUMRATA.set_bound_column(std::string(db::CG63_PROG));
        TXT_GGDECOR.set_bound_column(std::string(db::CG63_GGDECOR));
        FME_CONDPAGDES.AddDetail(FME_DETTAGLIO);
        FME_DETTAGLIO.Setup(&host, connection, &installments, installments.Source(), "", nullptr,
                            &GRID_CONDPAG);
        FME_DETTAGLIO.BindControl(TXT_NUMRATA);
        FME_DETTAGLIO.BindControl(TXT_GGDECOR);
        FME_DETTAGLIO.BindKeyControl(TXT_NUMRATA);
        FME_DETTAGLIO.AfterAddNew.connect([this](bool) { ++record_events; });
        FME_DETTAGLIO.AfterUpdate.connect([this](bool) { ++record_events; });
        FME_DETTAGLIO.ValidateRecord.connect([this](Control*&, std::string&) { ++record_events; });
    }

    Connection& OwnerConnection() override { return connection; }
    std::string OwnerConnectionString() const override { return database.connection_string(); }
    Answer ShowMessage(const std::string& text, int style, const std::string&,
                       const std::string&) override {
        messages.push_back({text, style});
        return Answer::Ok;
    }
    Cinterface* OwnerInterface() const override { return const_cast<HeadlessInterface*>(&host); }
    CLSCO_CONDPAG* OwnerComponent() const override { return nullptr; }
    Recordset& InstallmentSet() override { return installments; }
    DataFrame& InstallmentFrame() override { return FME_DETTAGLIO; }
    Grid& InstallmentGrid() override { return GRID_CONDPAG; }
    std::string CodeText() const override { return code_; }

    // What reached the database, read through a second connection: texts without trailing
    // blanks, row by row.
    std::vector<std::vector<std::string>> stored(const std::string& statement) const {
        std::vector<std::vector<std::string>> texts;
        auto other = database.connect();
        auto rows = other.ok() ? other->Execute(statement) : Expected<QueryResult>(other.error());
        EXPECT_TRUE(rows.ok()) << (rows.ok() ? "" : rows.error().message);
        if (!rows.ok()) return texts;
        for (const auto& row : rows->rows) {
            texts.emplace_back();
            for (const Value& value : row) texts.back().push_back(RTrimN(value));
        }
        return texts;
    }

    DemoDatabase database;
    Connection connection;
    HeadlessGlobal global;
    HeadlessMessageService host_messages;
    HeadlessInterface host;
    HeadlessLookupRunner lookups;
    Recordset installments;
    EditBox TXT_NUMRATA{*this, "TXT_NUMRATA"};
    EditBox TXT_GGDECOR{*this, "TXT_GGDECOR"};
    Grid GRID_CONDPAG{*this, "GRID_CONDPAG"};
    DataFrame FME_CONDPAGDES{"FME_CONDPAGDES"};
    DataFrame FME_DETTAGLIO{"FME_DETTAGLIO"};
    std::vector<RoutedMessage> messages;
    int record_events = 0;

  private:
    std::string code_;
};

}  // namespace condpag::testing
