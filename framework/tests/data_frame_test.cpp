#include "framework/data_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/choice_controls.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "framework/navigators.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

struct Window : Form {
    Window() : Form("FRM_PROVA") {
        TXT_CODICE.set_bound_column("CG62_CODPAG");
        TXT_CODICE.set_caption("Codice");
        TXT_DESCRIZIONE.set_bound_column("CG62_DESCPAG");
        CHK_DESAUTOM.set_bound_column("CG62_FLGDESC");
        TXT_PROG.set_bound_column("CG63_PROG");
    }
    EditBox TXT_CODICE{*this, "TXT_CODICE"};
    EditBox TXT_DESCRIZIONE{*this, "TXT_DESCRIZIONE"};
    CheckBox CHK_DESAUTOM{*this, "CHK_DESAUTOM"};
    RecordNavigator INTERNAV{*this, "INTERNAV"};
    EditBox TXT_PROG{*this, "TXT_PROG"};
    GridNavigator GRIDNAV_RATE{*this, "GRIDNAV_RATE"};
};

class DataFrameTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(db.ok()) << db.error();
        connection = *db.connect();
        global.SetMessageObject(&messages);
        host.SetClsGlobal(&global);
        ASSERT_TRUE(header_set.Open("SELECT * FROM CG62_CONDPAGDES", connection));
        header.Setup(&host, connection, &header_set, "SELECT * FROM CG62_CONDPAGDES",
                     "CG62_DESCPAG", &w.INTERNAV, nullptr);
        header.RecordNoun = "la condizione di pagamento";
        header.BindControl(w.TXT_CODICE);
        header.BindControl(w.CHK_DESAUTOM);
        header.BindControl(w.TXT_DESCRIZIONE);
        header.BindKeyControl(w.TXT_CODICE);
        header.ChangeStatus.connect([this](FrameStatus status, ChangeReason reason) {
            statuses.push_back(std::to_string(static_cast<int>(status)) + "/" +
                               std::to_string(static_cast<int>(reason)));
        });
    }

    // What the database holds, read on a connection of its own.
    std::vector<std::vector<Value>> stored(const std::string& sql) {
        Connection other = *db.connect();
        auto rows = other.Execute(sql, 1);
        EXPECT_TRUE(rows.ok());
        return rows ? rows->rows : std::vector<std::vector<Value>>{};
    }
    // The stored header rows of a code, and one column of the first.
    std::string header_of(const std::string& code, const std::string& columns = "*") {
        return "SELECT " + columns + " FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '" + code + "'";
    }
    std::string stored_description(const std::string& code) {
        auto rows = stored(header_of(code, "CG62_DESCPAG"));
        return rows.empty() ? "<nessuna riga>" : RTrimN(rows[0][0]);
    }
    std::string shown_code() const { return RTrimN(header_set.Field("CG62_CODPAG")); }
    testing::DemoDatabase db;
    Connection connection;
    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    Window w;
    Recordset header_set;
    DataFrame header{"FME_CONDPAGDES"};
    std::vector<std::string> statuses;  // status/reason of each change
};

TEST_F(DataFrameTest, AReadOnlyFrameRefusesAPersonsEditButStillBeginsARecord) {
    const std::string shown = w.TXT_DESCRIZIONE.text();
    header.SetReadOnly(true);
    w.TXT_DESCRIZIONE.user_type("Vietato");
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), shown);
    EXPECT_EQ(header.Status(), FrameStatus::View);
    EXPECT_FALSE(header.Update());
    // Adding a record leaves the shown one alone, so a read-only header still begins one; the
    // view set by code drops it again and shows the row it was begun on.
    const long count = header_set.RecordCount();
    ASSERT_TRUE(header.New());
    EXPECT_EQ(header.Status(), FrameStatus::Insert);
    header.SetStatus(FrameStatus::View);
    EXPECT_EQ(header_set.RecordCount(), count);
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), shown);
}

TEST_F(DataFrameTest, NewRecordsAreCheckedForTheirKeyAndMayBeCancelled) {
    std::string first_code = shown_code();
    ASSERT_TRUE(header.New());

    // Mandatory key, then a key already stored: refused with a message and the focus on it.
    w.TXT_DESCRIZIONE.user_type("Senza codice");
    EXPECT_FALSE(header.Save());
    w.TXT_CODICE.user_type(first_code);
    EXPECT_FALSE(header.Save());
    ASSERT_EQ(messages.texts().size(), 2u);
    EXPECT_EQ(messages.texts()[0], "Il campo \"Codice\" è obbligatorio.");
    EXPECT_NE(messages.texts()[1].find("già esistente"), std::string::npos);
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);
    // The key check shows the stored row instead of the new one.
    ASSERT_TRUE(header.CheckKey(true, true));
    EXPECT_EQ(shown_code(), first_code);
    // BeforeAddNew may cancel.
    header.BeforeAddNew.connect([](bool& cancel) { cancel = true; });
    EXPECT_FALSE(header.New());
    EXPECT_EQ(header.Status(), FrameStatus::View);
}

TEST_F(DataFrameTest, DeleteAsksThenLetsTheWindowVetoThenWrites) {
    const std::string where = header_of(shown_code());
    bool veto = true;
    header.BeforeDelete.connect([&](bool& cancel) { cancel = veto; });
    messages.answers = {Answer::No};
    EXPECT_FALSE(header.Delete());
    EXPECT_FALSE(header.Delete());  // asked (Yes by default), then vetoed
    EXPECT_EQ(stored(where).size(), 1u);
    EXPECT_EQ(messages.shown.size(), 2u);
    veto = false;
    ASSERT_TRUE(header.Delete());
    EXPECT_TRUE(stored(where).empty());
}

TEST_F(DataFrameTest, FieldEventsOffKeepsHandlerWritesFromCountingAsEdits) {
    header.SetFieldEvents(false);
    header_set.SetField("CG62_DESCPAG", Value("Scritta dal gestore"));
    EXPECT_NE(w.TXT_DESCRIZIONE.text(), "Scritta dal gestore");
    w.TXT_CODICE.user_type("NONCOPIATO");
    header.SetFieldEvents(true);
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Scritta dal gestore");
    EXPECT_NE(w.TXT_CODICE.text(), "NONCOPIATO");
    EXPECT_FALSE(w.TXT_DESCRIZIONE.changed() || w.TXT_CODICE.changed());
    EXPECT_FALSE(header.RowPending());
    // Not a person's edit, but a change of the row: the next save writes it.
    ASSERT_TRUE(header.Save());
    EXPECT_EQ(stored_description(shown_code()), "Scritta dal gestore");
}

TEST_F(DataFrameTest, AKeyFoundOnAConfirmedUnsavedRowDropsOnlyTheNewRow) {
    Recordset rows;
    DataFrame detail("FME_DETTAGLIO");
    const std::string installments = "SELECT * FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RD'";
    ASSERT_TRUE(rows.Open(installments, connection));
    detail.Setup(&host, connection, &rows, installments, "CG63_PROG", &w.GRIDNAV_RATE, nullptr);
    detail.BindControl(w.TXT_PROG);
    header.AddDetail(detail);
    long before = rows.RecordCount();
    detail.BindKeyControl(w.TXT_PROG);
    std::vector<std::string> confirm;
    detail.AfterAddNew.connect([&](bool) {
        detail.SetFieldEvents(false);
        rows.SetField("CG63_CODPAG_CG62", Value("RD"));
        detail.SetFieldEvents(true);
    });
    detail.ValidateRecord.connect([&](Control*&, std::string&) { confirm.push_back("Validate"); });
    detail.BeforeUpdate.connect([&](bool&) { confirm.push_back("Before"); });
    detail.AfterUpdate.connect([&](bool ok) { confirm.push_back("After" + std::to_string(ok)); });
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(detail.New());  // the second confirms the first
        w.TXT_PROG.user_type("9");
    }
    EXPECT_EQ(confirm, (std::vector<std::string>{"Validate", "Before", "After1"}));
    ASSERT_TRUE(detail.BatchPending());
    ASSERT_TRUE(detail.CheckKey(true, true));
    EXPECT_EQ(rows.RecordCount(), before + 1);
    EXPECT_EQ(RTrimN(rows.Field("CG63_PROG")), "9");
    EXPECT_EQ(rows.row_state(), RowState::New);
    EXPECT_EQ(detail.Status(), FrameStatus::View);
    // A row begun and left alone is not written with the confirmed one.
    ASSERT_TRUE(detail.New());
    ASSERT_TRUE(detail.SaveRows());
    EXPECT_EQ(stored(installments).size(), static_cast<size_t>(before + 1));
}

TEST_F(DataFrameTest, SearchTakesTheCodeAndOnlyTheCheckBoxesAPersonTouched) {
    const std::string code = RTrimN(field(header_set.records()[2], "CG62_CODPAG"));
    ASSERT_TRUE(connection.ExecuteChange(
        "UPDATE CG62_CONDPAGDES SET CG62_FLGDESC = NULL WHERE CG62_CODPAG = '" + code + "'"));
    ASSERT_TRUE(header_set.Requery());
    header.Reload();
    const Record third = header_set.records()[2];
    header.SetStatus(FrameStatus::Search);
    EXPECT_EQ(w.TXT_CODICE.text(), "");
    EXPECT_EQ(statuses.back(), "1/0");
    // The code typed, the box ticked and then unticked by a person, whether the third row is
    // found. Asked for unticked, a flag never set is not ticked.
    for (const auto& [typed, tick, untick, found] :
         {std::tuple{code, false, false, true}, std::tuple{code, true, false, false},
          std::tuple{code, true, true, true},
          std::tuple{std::string("NESSUNO"), false, false, false}}) {
        header.SetStatus(FrameStatus::Search);
        w.TXT_CODICE.user_type(typed);
        if (tick) w.CHK_DESAUTOM.user_check(true);
        if (untick) w.CHK_DESAUTOM.user_check(false);
        EXPECT_EQ(header_set.records()[2], third);  // criteria are not written to any row
        EXPECT_EQ(header.Find(), found) << typed << tick << untick;
        EXPECT_EQ(header.Status(), found ? FrameStatus::View : FrameStatus::Search);
        if (!found) continue;
        EXPECT_EQ(header_set.AbsolutePosition(), 3);
        EXPECT_EQ(statuses.back(), "0/3");
    }
}

TEST_F(DataFrameTest, LeavingAChangedHeaderAsksWhetherToSaveIt) {
    const std::string code = shown_code();
    auto description = [&] { return stored_description(code); };
    std::string original = description();
    w.TXT_DESCRIZIONE.user_type("Cambiata");
    messages.answers = {Answer::Cancel, Answer::No};
    EXPECT_FALSE(header.MoveNext());  // Cancel: the changed row stays
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Cambiata");
    ASSERT_TRUE(header.MoveNext());  // No: the change is dropped
    EXPECT_EQ(description(), original);
    ASSERT_TRUE(header.MovePrevious());

    // Unsaved detail rows reported by the window count as a change too; Yes saves.
    header.IsRecordChanged.connect([](bool& changed) { changed = true; });
    w.TXT_DESCRIZIONE.user_type("Salvata");
    messages.answers = {Answer::Yes};
    ASSERT_TRUE(header.MoveNext());
    EXPECT_EQ(description(), "Salvata");
    EXPECT_EQ(StyleButtons(messages.shown.back().style), kStyleYesNoCancel);
}

}  // namespace
}  // namespace condpag
