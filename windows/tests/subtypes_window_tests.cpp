#include <gtest/gtest.h>

#include <set>

#include "storage/demo_data.h"
#include "windows/FRMCO_SOTTOTIPI.h"
#include "windows/tests/fake_editor.h"

namespace condpag::testing {
namespace {

struct Session {
    FakeEditor editor{"RD"};
    FRMCO_SOTTOTIPI window;
    explicit Session(const std::string& type) {
        window.set_lookup_runner(&editor.lookups);
        window.set_owner(&editor);
        window.set_host(&editor.host);
        window.set_component(nullptr);
        window.set_payment_type(type);
    }
};

using Rows = std::vector<std::vector<std::string>>;
using Codes = std::set<std::string>;

TEST(SubtypesWindow, NewSubtypeWithPaymentModeAndCountryIsStored) {
    Session s("13");
    FRMCO_SOTTOTIPI& w = s.window;
    w.Show();
    EXPECT_EQ(w.FME_STIPOEFF.Status(), FrameStatus::View);
    EXPECT_FALSE(w.TXT_CODICE.enabled());
    EXPECT_EQ(w.focus(), &w.TXT_DESCRIZIONE);
    EXPECT_TRUE(w.CHK_ASSEGNO.enabled() && w.CMB_INDMODFATTURAPA.enabled());
    EXPECT_EQ(w.GRID_SOTTOTIPI.row_count(), 3);

    ASSERT_TRUE(w.GRIDNAV.user_click("Nuovo"));
    EXPECT_EQ(w.FME_STIPOEFF.Status(), FrameStatus::Insert);
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);

    // Code 0 is refused and keeps the focus.
    w.TXT_CODICE.user_type("0");
    EXPECT_FALSE(w.user_focus(&w.TXT_DESCRIZIONE));
    ASSERT_EQ(s.editor.messages.size(), 1u);
    EXPECT_EQ(s.editor.messages[0].text, "Il codice non può avere valore 0");
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);

    // An existing code shows that subtype instead of a new one.
    w.TXT_CODICE.user_type("1");
    w.user_focus(&w.TXT_DESCRIZIONE);
    EXPECT_EQ(w.FME_STIPOEFF.Status(), FrameStatus::View);
    EXPECT_EQ(w.TXT_DESCRIZIONE.text(), "Assegno bancario");

    ASSERT_TRUE(w.GRIDNAV.user_click("Nuovo"));
    w.TXT_CODICE.user_type("4");
    w.TXT_DESCRIZIONE.user_type("Bollettino postale");
    w.CMB_INDMODFATTURAPA.user_pick_value(5);
    w.TXT_STATO.user_type("86");
    w.user_focus(&w.TXT_CODPAGUC);
    EXPECT_EQ(w.TXT_DESCRSTATO.text(), "Italia");
    ASSERT_TRUE(w.GRIDNAV.user_click("Conferma"));
    EXPECT_EQ(w.focus(), &w.GRID_SOTTOTIPI);
    EXPECT_TRUE(w.Unload());

    EXPECT_EQ(s.editor.stored("SELECT CG64_DESCSTIPO, CG64_INDMODFATTURAPA, CG64_CODICE_CG07 "
                              "FROM CG64_SOTTOTIPO WHERE CG64_TIPOEFF = 13 AND "
                              "CG64_CODSTIPOEFF = 4"),
              (Rows{{"Bollettino postale", "5", "86"}}));
}

TEST(SubtypesWindow, EmptyTypeOpensInInsertAndNewRowsTakeTheWindowsType) {
    Session s("16");
    FRMCO_SOTTOTIPI& w = s.window;
    w.Show();
    EXPECT_EQ(w.FME_STIPOEFF.Status(), FrameStatus::Insert);
    EXPECT_EQ(w.focus(), &w.TXT_CODICE);
    // Type 16 has neither cheques nor foreign payments.
    EXPECT_FALSE(w.CHK_ASSEGNO.enabled() || w.TXT_STATO.enabled());

    // A row that fails the frame's own check keeps the window open.
    w.TXT_DESCRIZIONE.user_type("Senza codice");
    EXPECT_FALSE(w.Unload());
    w.TXT_CODICE.user_type("7");
    ASSERT_TRUE(w.GRIDNAV.user_click("Conferma"));
    EXPECT_TRUE(w.Unload());
    EXPECT_EQ(s.editor.stored("SELECT CG64_TIPOEFF FROM CG64_SOTTOTIPO WHERE CG64_CODSTIPOEFF = 7"),
              (Rows{{"16"}}));
}

TEST(SubtypesWindow, GridShowsCountriesAsStoredAndForeignPaymentsFollowTheCountry) {
    Session s("14");
    ASSERT_TRUE(insert_rows(s.editor.connection, "CG64_SOTTOTIPO",
                            {"CG64_TIPOEFF", "CG64_CODSTIPOEFF", "CG64_FLGASSEGNO",
                             "CG64_CODICE_CG07", "CG64_CODPAGUC"},
                            {{14, 3, 1, "999", "XX'"},
                             {14, 4, 0, "1OR1", "ACH"},
                             {14, 5, 0, "1;--", "BON"},
                             {14, 6, 0, "0 OR 1=1", "SCT"}})
                    .ok());
    FRMCO_SOTTOTIPI& w = s.window;
    w.Show();
    EXPECT_TRUE(w.TXT_STATO.enabled());
    EXPECT_FALSE(w.CMB_INDMODFATTURAPA.enabled());

    // Cheque, country and foreign payment columns of each row.
    Rows shown;
    for (const auto& row : w.GRID_SOTTOTIPI.shown_rows()) shown.push_back({row[3], row[4], row[5]});
    EXPECT_EQ(shown, (Rows{{"", "Italia", "SEPA Credit Transfer"},
                           {"", "Stati Uniti d'America", "Bonifico estero"},
                           {"Si", "999", "XX'"},
                           {"", "1OR1", "ACH transfer"},
                           {"", "1;--", "Bonifico estero"},
                           {"", "0 OR 1=1", "SEPA Credit Transfer"}}));

    // Typed country texts that are no number decode to nothing and list nothing.
    for (const char* country : {"1OR1", "1;--"}) {
        SCOPED_TRACE(country);
        w.GRIDNAV.user_click("Nuovo");
        w.TXT_CODICE.user_type("9");
        w.TXT_STATO.user_type(country);
        w.user_focus(&w.TXT_CODPAGUC);
        EXPECT_EQ(w.TXT_DESCRSTATO.text(), "");
        LookupRequest list;
        w.TXT_CODPAGUC_StartLookup(list);
        EXPECT_EQ(s.editor.stored(list.statement), Rows{});
        w.GRIDNAV.user_click("Annulla");
    }
    for (const std::string& statement : s.editor.lookups.statements) {
        const bool typed_text_inside = statement.find("OR1") != std::string::npos ||
                                       statement.find(";--") != std::string::npos;
        EXPECT_FALSE(typed_text_inside) << statement;
    }

    // Foreign payment codes are offered by the country's ISO code or area.
    // Italy: SEPA and Italian; USA: outside SEPA and American; China: no SEPA flag counts as 0.
    for (const auto& [country, offered] : {std::pair{"86", Codes{"CHQ", "RIB", "SCT"}},
                                           {"69", Codes{"ACH", "BON", "CHQ"}},
                                           {"36", Codes{"BON", "CHQ"}}}) {
        SCOPED_TRACE(country);
        w.TXT_STATO.set_text(country);
        LookupRequest list;
        w.TXT_CODPAGUC_StartLookup(list);
        Codes listed;
        for (const auto& row : s.editor.stored(list.statement)) listed.insert(row.front());
        EXPECT_EQ(listed, offered);
    }

    // The decode follows the same rule: an American code is not decoded for Italy.
    w.TXT_STATO.set_text("86");
    w.TXT_CODPAGUC.set_text("ACH");
    EXPECT_EQ(w.TXT_DESCRCODPAGUC.text(), "");
    w.TXT_CODPAGUC.set_text("RIB");
    EXPECT_EQ(w.TXT_DESCRCODPAGUC.text(), "Ricevuta bancaria");
}

TEST(SubtypesWindow, LoadErrorIsReportedAndClosesTheWindowOnRequest) {
    Session s("13");
    s.editor.connection.Close();
    s.editor.host_messages.answers = {Answer::Ok};
    s.window.Show();
    ASSERT_EQ(s.editor.host_messages.shown.size(), 1u);
    EXPECT_EQ(s.editor.host_messages.shown[0].kind, ShownMessage::Kind::ErrorReport);
    EXPECT_EQ(s.editor.host_messages.shown[0].title, "FRMCO_SOTTOTIPI.Form_Load");
    EXPECT_TRUE(s.window.close_requested());
    EXPECT_EQ(s.editor.host.ActiveFrame(), nullptr);
}

}  // namespace
}  // namespace condpag::testing
