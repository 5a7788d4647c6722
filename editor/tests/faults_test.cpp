// Faults during the load, a save or a deletion: a statement that fails, a host table the guard
// cannot read, and a database server that goes away between the header and its details. The
// person is told, the rows not written stay pending, and nothing stored is damaged.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>

#include "editor/tests/users.h"
#include "storage/schema.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class Faults : public testing::BackendTest {};

TEST_P(Faults, AFailingStatementLeavesItsRowsPendingAndASecondSaveCompletesTheTerm) {
    User anna(database->connection_string());
    ASSERT_TRUE(anna.go_to("RID30"));
    ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Direct debit")) << anna.all_messages();
    // The language table goes away under the window: its insert cannot run.
    ASSERT_TRUE(connection.ExecuteChange("DROP TABLE CG6B_CONDPAGLING").ok());

    anna.save();
    const std::string said = anna.all_messages();
    EXPECT_NE(said.find("Impossibile salvare"), std::string::npos) << said;
    EXPECT_TRUE(anna.window.Grst_RecordSet_CG6B.pending());
    EXPECT_TRUE(anna.window.FME_LINGUA.BatchPending());
    // What could be written was, once.
    const std::string installments =
        "SELECT CG63_PROG, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RID30'";
    EXPECT_EQ(stored(connection, installments), (Rows{{"1", "45"}}));

    // The table is back: saving again writes the waiting row and nothing twice.
    ASSERT_TRUE(create_database(connection, false).ok());
    ASSERT_TRUE(anna.save()) << anna.all_messages();
    EXPECT_FALSE(anna.window.Grst_RecordSet_CG6B.pending());
    EXPECT_EQ(stored(connection, installments), (Rows{{"1", "45"}}));
    EXPECT_EQ(stored(connection,
                     "SELECT CG6B_CODICE_CG62, CG6B_LINGUA_MG52, CG6B_DESCR FROM "
                     "CG6B_CONDPAGLING"),
              (Rows{{"RID30", "ENG", "Direct debit"}}));
}

TEST_P(Faults, AHostTableTheGuardCannotReadRefusesTheDeletionAndDeletesNothing) {
    // The portfolio is the last place looked at: every other check has found nothing.
    ASSERT_TRUE(connection.ExecuteChange("DROP TABLE EF01_SCADENZE").ok());
    User anna(database->connection_string());
    ASSERT_TRUE(anna.go_to("IVARB"));
    EXPECT_FALSE(anna.window.INTERNAV.user_click("Elimina"));
    ASSERT_FALSE(anna.messages.shown.empty());
    const ShownMessage& shown = anna.messages.shown.back();
    EXPECT_EQ(shown.title, "Eliminazione impossibile");
    EXPECT_EQ(shown.style, 16);
    EXPECT_NE(shown.text.find("Impossibile verificare"), std::string::npos) << shown.text;
    EXPECT_EQ(anna.window.TXT_CODICE.text(), "IVARB");
    for (const char* sql :
         {"SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'IVARB'",
          "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'IVARB'"}) {
        EXPECT_NE(stored(connection, sql), (Rows{{"0"}})) << sql;
    }
}

TEST_P(Faults, AMissingInstallmentsTableStopsTheWindowWithTheLoadErrorDialog) {
    ASSERT_TRUE(connection.ExecuteChange("DROP TABLE CG63_CONDPAGDET").ok());
    User anna(database->connection_string());
    ASSERT_FALSE(anna.messages.shown.empty());
    const ShownMessage& shown = anna.messages.shown.front();
    EXPECT_EQ(shown.kind, ShownMessage::Kind::ErrorDialog);
    EXPECT_EQ(shown.title, "Form_Load");
    EXPECT_EQ(shown.style, 4370);
    std::string said = shown.text;  // PostgreSQL names the table in lower case
    std::transform(said.begin(), said.end(), said.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    EXPECT_NE(said.find("cg63_condpagdet"), std::string::npos) << shown.text;
    EXPECT_FALSE(anna.window.loaded());  // the dialog answered "leave"
}

CONDPAG_ON_ALL_BACKENDS(Faults);

// The server ends the editor's session (as an administrator or a crash would) at two moments of
// a save: before the header is written, and after the installments were written but before the
// language descriptions.
TEST(ServerFaults, AServerGoingAwayMidSaveIsToldAndDamagesNothingStored) {
    if (auto reason = testing::unavailable_reason(testing::BackendKind::PostgresOdbc);
        !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    enum class When { BeforeHeader, AfterInstallments };
    for (When when : {When::BeforeHeader, When::AfterInstallments}) {
        SCOPED_TRACE(when == When::BeforeHeader ? "before the header" : "after installments");
        testing::DemoDatabase db(testing::BackendKind::PostgresOdbc);
        ASSERT_TRUE(db.ok()) << db.error();
        auto admin = db.connect();
        ASSERT_TRUE(admin.ok());
        User anna(db.connection_string(), 1);  // single-installment mode counts installments
        ASSERT_TRUE(anna.go_to("MAV30"));
        auto pid = anna.window.WindowConnection().Execute("SELECT pg_backend_pid()");
        ASSERT_TRUE(pid.ok() && !pid->rows.empty());
        const std::string kill = "SELECT pg_terminate_backend(" + pid->rows[0][0].to_text() + ")";
        bool killed = false;
        auto terminate = [&] {
            if (killed) return;
            killed = true;
            EXPECT_TRUE(admin->Execute(kill).ok());
        };
        const std::string others =
            "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 <> 'MAV30'";
        const Rows others_before = stored(*admin, others);
        ASSERT_TRUE(anna.window.TXT_DESCRIZIONE.user_type("Avviso 45 gg"));
        ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
        ASSERT_TRUE(anna.add_language("ENG", "Payment notice")) << anna.all_messages();
        if (when == When::BeforeHeader) {
            anna.window.FME_CONDPAGDES.BeforeUpdate.connect([&](bool&) { terminate(); });
        } else {
            anna.window.FME_DETTAGLIO.UpdateBatchAll.connect([&] { terminate(); });
        }
        anna.save();
        ASSERT_TRUE(killed);
        const std::string said = anna.all_messages();
        EXPECT_NE(said.find("Impossibile salvare"), std::string::npos) << said;
        EXPECT_NE(said.find("si è interrotto"), std::string::npos) << said;

        Rows header = stored(*admin,
                             "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE "
                             "CG62_CODPAG = 'MAV30'");
        Rows days = stored(*admin,
                           "SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE "
                           "CG63_CODPAG_CG62 = 'MAV30'");
        if (when == When::BeforeHeader) {
            EXPECT_EQ(header, (Rows{{"MAV 30 gg d.f."}}));
            EXPECT_EQ(days, (Rows{{"30"}}));
            EXPECT_TRUE(anna.window.Grst_RecordSet_CG63.pending());
        } else {
            EXPECT_EQ(header, (Rows{{"Avviso 45 gg"}}));
            EXPECT_EQ(days, (Rows{{"45"}}));
        }
        const std::string languages =
            "SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = 'MAV30'";
        // Every other term is as it was.
        EXPECT_EQ(stored(*admin, others), others_before);
        EXPECT_EQ(stored(*admin, languages), (Rows{{"0"}}));
        EXPECT_TRUE(anna.window.Grst_RecordSet_CG6B.pending());

        // A procedure that reports its errors shows the error dialog under its name.
        anna.messages.shown.clear();
        EXPECT_EQ(anna.window.ContaRate("MAV30"), 0);
        ASSERT_FALSE(anna.messages.shown.empty());
        EXPECT_EQ(anna.messages.shown.back().kind, ShownMessage::Kind::ErrorDialog);
        EXPECT_EQ(anna.messages.shown.back().title, "ContaRate");

        // Saving again reconnects and writes the rows that were kept pending, once.
        EXPECT_TRUE(anna.save()) << anna.all_messages();
        EXPECT_EQ(
            stored(*admin, "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'MAV30'"),
            (Rows{{"Avviso 45 gg"}}));
        EXPECT_EQ(stored(*admin,
                         "SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE "
                         "CG63_CODPAG_CG62 = 'MAV30'"),
                  (Rows{{"45"}}));
        EXPECT_EQ(stored(*admin, languages), (Rows{{"1"}}));
        EXPECT_EQ(stored(*admin, others), others_before);
    }
}

}  // namespace
}  // namespace condpag
