#include "framework/data_frame.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/choice_controls.h"
#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/grid.h"
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
        TXT_PERCIMP.set_bound_column("CG63_PERCIMP");
    }
    EditBox TXT_CODICE{*this, "TXT_CODICE"};
    EditBox TXT_DESCRIZIONE{*this, "TXT_DESCRIZIONE"};
    CheckBox CHK_DESAUTOM{*this, "CHK_DESAUTOM"};
    RecordNavigator INTERNAV{*this, "INTERNAV"};
    EditBox TXT_PROG{*this, "TXT_PROG"};
    EditBox TXT_PERCIMP{*this, "TXT_PERCIMP"};
    Grid GRID_CONDPAG{*this, "GRID_CONDPAG"};
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
        record(header, "H.");
    }

    void record(DataFrame& frame, const std::string& prefix) {
        auto note = [=, this](const std::string& text) { events.push_back(prefix + text); };
        auto with_flag = [](const char* name, bool flag) { return name + std::to_string(flag); };
        frame.BeforeAddNew.connect([=](bool&) { note("BeforeAddNew"); });
        frame.AfterAddNew.connect([=](bool ok) { note(with_flag("AfterAddNew ", ok)); });
        frame.ValidateRecord.connect([=](Control*&, std::string&) { note("ValidateRecord"); });
        frame.BeforeUpdate.connect([=](bool&) { note("BeforeUpdate"); });
        frame.AfterUpdate.connect([=](bool ok) { note(with_flag("AfterUpdate ", ok)); });
        frame.ChangeStatus.connect([=](FrameStatus status, ChangeReason reason) {
            note("ChangeStatus " + std::to_string(static_cast<int>(status)) + "/" +
                 std::to_string(static_cast<int>(reason)));
        });
        frame.UpdateBatchAll.connect(
            [=, &frame] { note(with_flag("UpdateBatchAll ", frame.BatchPending())); });
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
    // The installments of RD in a detail frame of the header, bound to the given boxes.
    void attach(DataFrame& detail, Recordset& rows, std::vector<EditBox*> boxes, Grid* grid) {
        ASSERT_TRUE(rows.Open(kDetails, connection));
        detail.Setup(&host, connection, &rows, kDetails, "CG63_PROG", &w.GRIDNAV_RATE, grid);
        for (EditBox* box : boxes) detail.BindControl(*box);
        header.AddDetail(detail);
    }
    static constexpr const char* kDetails =
        "SELECT * FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RD'";

    testing::DemoDatabase db;
    Connection connection;
    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    Window w;
    Recordset header_set;
    DataFrame header{"FME_CONDPAGDES"};
    std::vector<std::string> events;
};

TEST_F(DataFrameTest, BrowsingShowsRowsAndAPersonsEditIsSavedInOrder) {
    ASSERT_GE(header_set.RecordCount(), 2);
    ASSERT_TRUE(header.MoveNext());
    std::string code = shown_code();
    EXPECT_EQ(RTrimN(w.TXT_CODICE.text()), code);
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), header_set.Field("CG62_DESCPAG").to_text());
    EXPECT_EQ(events, std::vector<std::string>{"H.ChangeStatus 0/1"});

    events.clear();
    w.TXT_DESCRIZIONE.user_type("Nuova descrizione");
    w.CHK_DESAUTOM.user_check(true);
    ASSERT_TRUE(w.INTERNAV.user_click("Conferma"));
    EXPECT_EQ(events,
              (std::vector<std::string>{"H.ChangeStatus 3/0", "H.BeforeUpdate", "H.ValidateRecord",
                                        "H.AfterUpdate 1", "H.ChangeStatus 0/7"}));
    auto row = stored(header_of(code, "CG62_DESCPAG, CG62_FLGDESC"));
    ASSERT_EQ(row.size(), 1u);
    EXPECT_EQ(RTrimN(row[0][0]), "Nuova descrizione");
    EXPECT_TRUE(same_code(row[0][1], Value(1)));

    // Undo brings back the stored row; a read-only frame refuses a person's edit.
    w.TXT_DESCRIZIONE.user_type("Da annullare");
    ASSERT_TRUE(header.Undo());
    EXPECT_EQ(RTrimN(w.TXT_DESCRIZIONE.text()), "Nuova descrizione");
    header.SetReadOnly(true);
    w.TXT_DESCRIZIONE.user_type("Vietato");
    EXPECT_EQ(RTrimN(w.TXT_DESCRIZIONE.text()), "Nuova descrizione");
    EXPECT_EQ(header.Status(), FrameStatus::View);
    EXPECT_FALSE(header.Update());
    // Adding a record leaves the shown one alone, so a read-only header still begins one.
    ASSERT_TRUE(header.New());
    EXPECT_EQ(header.Status(), FrameStatus::Insert);
}

TEST_F(DataFrameTest, NewRecordsAreCheckedForTheirKeyAndTheWindowsVerdict) {
    std::string first_code = shown_code();
    long count = header_set.RecordCount();
    ASSERT_TRUE(header.New());
    EXPECT_EQ(events, (std::vector<std::string>{"H.BeforeAddNew", "H.AfterAddNew 1",
                                                "H.ChangeStatus 2/0"}));
    EXPECT_EQ(w.TXT_CODICE.text(), "");

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
    EXPECT_EQ(header.Status(), FrameStatus::View);
    EXPECT_EQ(header_set.RecordCount(), count);
    EXPECT_EQ(shown_code(), first_code);

    // The window's verdict stops the save and moves the focus; then the row is written.
    bool veto = true;
    header.ValidateRecord.connect([&](Control*& control, std::string& message) {
        if (!veto) return;
        control = &w.TXT_DESCRIZIONE;
        message = "Descrizione non valida";
    });
    ASSERT_TRUE(header.New());
    w.TXT_CODICE.user_type("ZZ1");
    w.TXT_DESCRIZIONE.user_type("Prova");
    EXPECT_FALSE(header.Save());
    EXPECT_EQ(messages.texts().back(), "Descrizione non valida");
    EXPECT_EQ(w.focus(), &w.TXT_DESCRIZIONE);
    EXPECT_TRUE(stored(header_of("ZZ1")).empty());
    veto = false;
    ASSERT_TRUE(header.Save());
    EXPECT_EQ(stored(header_of("ZZ1")).size(), 1u);

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
    veto = false;
    std::vector<bool> results;
    header.AfterDelete.connect([&](bool ok) { results.push_back(ok); });
    ASSERT_TRUE(header.Delete());
    EXPECT_TRUE(stored(where).empty());
    EXPECT_EQ(results, std::vector<bool>{true});
    EXPECT_EQ(messages.shown.size(), 3u);
    EXPECT_EQ(events.back(), "H.ChangeStatus 0/5");
}

TEST_F(DataFrameTest, ARowChangedByAnotherUserIsReportedNotOverwritten) {
    std::string code = shown_code();
    w.TXT_DESCRIZIONE.user_type("Mia");
    Connection other = *db.connect();
    ASSERT_TRUE(other.ExecuteChange(
        "UPDATE CG62_CONDPAGDES SET CG62_DESCPAG = 'Altrui' WHERE CG62_CODPAG = '" + code + "'"));
    EXPECT_FALSE(header.Save());
    EXPECT_EQ(events.back(), "H.AfterUpdate 0");
    EXPECT_NE(messages.texts().back().find("modificati da un altro utente"), std::string::npos);
    EXPECT_FALSE(header.last_error().message.empty());
    EXPECT_EQ(stored_description(code), "Altrui");
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
    attach(detail, rows, {&w.TXT_PROG}, nullptr);
    long before = rows.RecordCount();
    detail.BindKeyControl(w.TXT_PROG);
    for (int row = 0; row < 2; ++row) {
        ASSERT_TRUE(detail.New());  // the second confirms the first
        w.TXT_PROG.user_type("9");
    }
    ASSERT_TRUE(detail.BatchPending());
    ASSERT_TRUE(detail.CheckKey(true, true));
    EXPECT_EQ(rows.RecordCount(), before + 1);
    EXPECT_EQ(RTrimN(rows.Field("CG63_PROG")), "9");
    EXPECT_EQ(rows.row_state(), RowState::New);
    EXPECT_EQ(detail.Status(), FrameStatus::View);
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
    EXPECT_EQ(events.back(), "H.ChangeStatus 1/0");
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
        EXPECT_EQ(events.back(), "H.ChangeStatus 0/3");
    }
}

TEST_F(DataFrameTest, DetailRowsWaitInTheBatchUntilSaved) {
    const std::string code = "RD";
    Recordset rows;
    DataFrame detail("FME_DETTAGLIO");
    attach(detail, rows, {&w.TXT_PROG, &w.TXT_PERCIMP}, &w.GRID_CONDPAG);
    long before = rows.RecordCount();
    ASSERT_GE(before, 1);
    record(detail, "D.");
    detail.AfterAddNew.connect([&](bool) {
        detail.SetFieldEvents(false);
        rows.SetField("CG63_CODPAG_CG62", Value(code));
        rows.SetField("CG63_PROG", Value(before + 1));
        detail.SetFieldEvents(true);
    });
    w.GRID_CONDPAG.layout().AddColumn("CG63_PROG", "N.", 1, 400, true);
    w.GRID_CONDPAG.layout().Apply();
    w.GRID_CONDPAG.CellDisplay.connect([](const std::string&, std::string& text) { text += "ª"; });
    auto count_stored = [&] { return static_cast<long>(stored(kDetails).size()); };

    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    EXPECT_EQ(w.TXT_PROG.text(), std::to_string(before + 1));  // the handler's write is shown
    EXPECT_FALSE(detail.BatchPending());
    EXPECT_EQ(w.GRID_CONDPAG.shown_rows().back(),
              std::vector<std::string>{std::to_string(before + 1) + "ª"});

    // A walk over the set (re-keying) leaves the begun row begun.
    detail.SuspendSync();
    for (rows.MoveFirst(); !rows.IsEOF(); rows.MoveNext()) rows.SetField("CG63_CODPAG_CG62", code);
    detail.ResumeSync();
    EXPECT_EQ(detail.Status(), FrameStatus::Insert);
    EXPECT_TRUE(rows.editing());

    w.TXT_PERCIMP.user_type("100");
    events.clear();
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Conferma"));
    EXPECT_EQ(events, (std::vector<std::string>{"D.ValidateRecord", "D.BeforeUpdate",
                                                "D.AfterUpdate 1", "D.ChangeStatus 0/7"}));
    EXPECT_TRUE(detail.BatchPending());
    EXPECT_EQ(count_stored(), before);

    // A begun row nobody edited is not written with the confirmed ones.
    ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
    events.clear();
    ASSERT_TRUE(detail.SaveRows());
    EXPECT_EQ(events, std::vector<std::string>{"D.UpdateBatchAll 1"});
    EXPECT_FALSE(detail.BatchPending());
    EXPECT_EQ(count_stored(), before + 1);
    EXPECT_EQ(rows.RecordCount(), before + 1);

    // A detail deletion waits for the header's save, which writes it.
    ASSERT_TRUE(detail.MoveFirst());
    ASSERT_TRUE(detail.Delete());
    EXPECT_TRUE(detail.BatchPending());
    EXPECT_EQ(count_stored(), before + 1);
    w.TXT_DESCRIZIONE.user_type("Con una rata in meno");
    ASSERT_TRUE(header.Save());
    EXPECT_EQ(count_stored(), before);
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
    EXPECT_EQ(RTrimN(w.TXT_DESCRIZIONE.text()), original);

    // Unsaved detail rows reported by the window count as a change too; Yes saves.
    header.IsRecordChanged.connect([](bool& changed) { changed = true; });
    w.TXT_DESCRIZIONE.user_type("Salvata");
    messages.answers = {Answer::Yes};
    ASSERT_TRUE(header.MoveNext());
    EXPECT_EQ(description(), "Salvata");
    EXPECT_EQ(StyleButtons(messages.shown.back().style), kStyleYesNoCancel);
}

TEST_F(DataFrameTest, StatusSetByCodeAndReload) {
    std::vector<Record> all = header_set.records();
    // Insert set by code begins a row; view set by code drops it and shows where it was.
    ASSERT_TRUE(header.MoveTo(1));
    header.SetStatus(FrameStatus::Insert);
    EXPECT_EQ(header_set.RecordCount(), static_cast<long>(all.size()) + 1);
    header.SetStatus(FrameStatus::View);
    EXPECT_EQ(header_set.RecordCount(), static_cast<long>(all.size()));
    EXPECT_EQ(header_set.AbsolutePosition(), 2);
    EXPECT_TRUE(header.Update());
    EXPECT_EQ(header.Status(), FrameStatus::Change);

    // Released, reopened on another statement and reloaded: the frame shows the new rows.
    header.SetStatus(FrameStatus::View);
    header.Release();
    header_set.Close();
    std::string only = "SELECT * FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '" +
                       RTrimN(field(all[1], "CG62_CODPAG")) + "'";
    ASSERT_TRUE(header_set.Open(only, connection));
    header.Reload(only);
    EXPECT_EQ(header.SourceText(), only);
    EXPECT_EQ(RTrimN(w.TXT_CODICE.text()), RTrimN(field(all[1], "CG62_CODPAG")));
    EXPECT_EQ(events.back(), "H.ChangeStatus 0/2");
}

TEST(UnboundFrame, ChecksFieldsWithoutARecordSet) {
    Window w;
    HeadlessMessageService messages;
    DataFrame frame("FME_GENMULTIPLA");
    frame.Setup(nullptr, Connection(), nullptr, "", "", nullptr, nullptr);
    frame.SetMessageService(&messages);
    w.TXT_PERCIMP.set_text("50");
    frame.BindControl(w.TXT_PERCIMP);
    frame.SetFieldEvents(false);
    frame.SetFieldEvents(true);
    EXPECT_EQ(w.TXT_PERCIMP.text(), "50");
    std::string verdict = "Totale diverso da 100";
    frame.ValidateRecord.connect([&](Control*& control, std::string& message) {
        if (verdict.empty()) return;
        control = &w.TXT_PERCIMP;
        message = verdict;
    });
    w.TXT_PERCIMP.user_type("40");
    EXPECT_TRUE(frame.RowPending());
    EXPECT_FALSE(frame.ConfirmRow(true, true, true));
    EXPECT_EQ(messages.texts(), std::vector<std::string>{verdict});
    verdict.clear();
    EXPECT_TRUE(frame.ConfirmRow(true, true, true));
    EXPECT_FALSE(frame.RowPending());
    EXPECT_EQ(w.TXT_PERCIMP.text(), "40");
}

}  // namespace
}  // namespace condpag
