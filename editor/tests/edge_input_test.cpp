// Input at the editor's edges: what a person sees of a new term in single-installment mode,
// however the term was begun.

#include <gtest/gtest.h>

#include "editor/tests/session.h"

namespace condpag {
namespace {

TEST(EdgeInput, ANewSingleInstallmentTermIsStoredWithItsOneInstallment) {
    enum class Begun { Navigator, ToolbarAfterReadOnly, ProgramMode, CallingProgram };
    struct Case {
        int profile;
        Begun begun;
    };
    for (const Case& c : {Case{1, Begun::Navigator}, Case{4, Begun::ToolbarAfterReadOnly},
                          Case{1, Begun::ProgramMode}, Case{4, Begun::CallingProgram}}) {
        SCOPED_TRACE(std::to_string(c.profile) + "/" + std::to_string(static_cast<int>(c.begun)));
        Session s(c.profile);
        s.host.SetProgramMode(c.begun == Begun::ProgramMode ? 2 : 0);
        s.host.SetIsCalled(c.begun == Begun::CallingProgram);
        FRMCO_CONDPAG& w = s.open("UNA  ");
        if (c.begun == Begun::Navigator || c.begun == Begun::ToolbarAfterReadOnly) {
            ASSERT_TRUE(s.go_to("RB3060"));  // two installments: read-only here
            ASSERT_TRUE(c.begun == Begun::Navigator ? w.INTERNAV.user_click("Nuovo")
                                                    : s.host.ActiveFrame()->New());
        }
        if (c.begun != Begun::CallingProgram) {
            ASSERT_TRUE(w.TXT_CODICE.user_type("UNA"));
            w.TXT_CODICE.user_key(kKeyTab);
        }
        EXPECT_EQ(w.TXT_CODICE.text(), "UNA");
        EXPECT_TRUE(w.TabCondPag.enabled());
        // Its one installment is forced to 100 % and locked there; a second one is refused.
        EXPECT_EQ(w.TXT_IMP.text() + "|" + w.TXT_IVA.text(), "100,0000|100,0000");
        for (Control* locked :
             std::initializer_list<Control*>{&w.TXT_IMP, &w.TXT_IVA, &w.CMB_FLGFRPERCIMP,
                                             &w.CMB_FLGFRPERCIVA, &w.CMB_TIPOIMPFIX}) {
            EXPECT_FALSE(locked->enabled()) << locked->name();
        }
        EXPECT_FALSE(w.GRIDNAV_RATE.user_click("Nuovo"));
        ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Una rata"));
        // The installment shown at 100 % is the term's: confirming the term checks it.
        EXPECT_FALSE(w.INTERNAV.user_click("Conferma"));
        EXPECT_EQ(s.last_message(), "Rata non corretta");
        EXPECT_EQ(w.focus(), &w.TXT_GGDECOR);
        EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'UNA'"),
                  (Rows{{"0"}}));
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("30") && w.INTERNAV.user_click("Conferma"))
            << s.all_messages();
        EXPECT_EQ(s.query("SELECT CG62_CODPAG, CG62_DESCPAG, CG63_PROG, CG63_GGDECOR, "
                          "CG63_FLGFRPERCIMP, CG63_PERCIMP, CG63_FLGFRPERCIVA, CG63_PERCIVA, "
                          "CG63_INDIMPFIX FROM CG62_CONDPAGDES JOIN "
                          "CG63_CONDPAGDET ON CG63_CODPAG_CG62 = CG62_CODPAG WHERE CG62_CODPAG = "
                          "'UNA'"),
                  (Rows{{"UNA", "Una rata", "1", "30", "1", "100", "1", "100", "1"}}));
        // No installment is left under another code (or none), belonging to no term.
        EXPECT_EQ(s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 NOT IN "
                          "(SELECT CG62_CODPAG FROM CG62_CONDPAGDES)"),
                  (Rows{{"0"}}));
    }
}

// The code typed after the installment re-keys it; the installment's "Annulla" still drops it,
// and what the person dropped is never stored with the term.
TEST(EdgeInput, AnInstallmentDroppedAfterTheCodeWasTypedIsNotStored) {
    for (int profile : {0}) {
        SCOPED_TRACE(profile);
        Session s(profile);
        const std::string installments_before =
            s.query("SELECT COUNT(*) FROM CG63_CONDPAGDET")[0][0];
        FRMCO_CONDPAG& w = s.open();
        ASSERT_TRUE(w.INTERNAV.user_click("Nuovo"));
        // One installment begun by the person, or the single one the new term begins itself.
        if (profile == 0) {
            ASSERT_TRUE(w.GRIDNAV_RATE.user_click("Nuovo"));
        }
        ASSERT_TRUE(w.TXT_GGDECOR.user_type("30") && w.TXT_CODICE.user_type("UNA"));
        w.TXT_CODICE.user_key(kKeyTab);
        ASSERT_TRUE(w.TXT_DESCRIZIONE.user_type("Una rata") &&
                    w.GRIDNAV_RATE.user_click("Annulla"));
        EXPECT_EQ(w.GRID_CONDPAG.row_count(), 0);
        // With no installment shown the totals ask nothing: the term is stored, without it.
        ASSERT_TRUE(w.INTERNAV.user_click("Conferma")) << s.all_messages();
        EXPECT_EQ(
            s.query("SELECT (SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'UNA'), "
                    "(SELECT COUNT(*) FROM CG63_CONDPAGDET)"),
            (Rows{{"1", installments_before}}));
    }
}

}  // namespace
}  // namespace condpag
