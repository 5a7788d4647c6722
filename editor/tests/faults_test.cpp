// Faults during a save or a deletion: a statement that fails, a host table the deletion guard
// cannot read, and a database server that goes away between the header and its details. The
// person is told, the rows not written stay pending, and nothing stored is damaged.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <thread>

#include "editor/tests/users.h"
#include "storage/schema.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class Faults : public testing::BackendTest {};

TEST_P(Faults, AFailingStatementStoresNothingAndASecondSaveStoresTheWholeTerm) {
    User anna(database->connection_string());
    ASSERT_TRUE(anna.go_to("RID30"));
    ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Direct debit")) << anna.all_messages();
    // The language table goes away under the window: its insert cannot run.
    ASSERT_TRUE(connection.ExecuteChange("DROP TABLE CG6B_CONDPAGLING").ok());

    const std::string installments =
        "SELECT CG63_PROG, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RID30'";
    const Rows before = stored(connection, installments);
    EXPECT_FALSE(anna.save());
    const std::string said = anna.all_messages();
    EXPECT_NE(said.find("Impossibile salvare"), std::string::npos) << said;
    EXPECT_NE(said.find("non è stato salvato nulla"), std::string::npos) << said;
    // Nothing of the save is stored; every change waits to be saved again.
    EXPECT_EQ(stored(connection, installments), before);
    EXPECT_TRUE(anna.window.Grst_RecordSet_CG63.pending());
    EXPECT_TRUE(anna.window.Grst_RecordSet_CG6B.pending());
    EXPECT_TRUE(anna.window.FME_LINGUA.BatchPending());

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

// Another program asks for the write lock of the file while a save is half done: it cannot
// slip in between the installments and the language descriptions, so the save never fails half
// way on a lock and the whole term is stored.
TEST_P(Faults, AnotherProgramCannotLockTheFileHalfWayThroughASave) {
    if (database->file().empty()) GTEST_SKIP() << "no database file on this backend";
    User anna(database->connection_string());
    ASSERT_TRUE(anna.go_to("MAV30"));
    ASSERT_TRUE(anna.window.TXT_DESCRIZIONE.user_type("Avviso 45 gg"));
    ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Payment notice")) << anna.all_messages();
    char locked = 0;
    pid_t holder = -1;
    anna.window.FME_DETTAGLIO.UpdateBatchAll.connect([&] {
        if (locked != 0) return;
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        holder = fork();
        ASSERT_GE(holder, 0);
        if (holder == 0) {
            sqlite3* other = nullptr;
            sqlite3_open(database->file().c_str(), &other);
            sqlite3_busy_timeout(other, 200);
            bool got = sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == 0;
            char byte = got ? 'y' : 'n';
            (void)!write(ready[1], &byte, 1);
            if (got) std::this_thread::sleep_for(kDefaultLockWait + std::chrono::seconds(2));
            sqlite3_close(other);
            _exit(0);
        }
        ASSERT_EQ(read(ready[0], &locked, 1), 1);
        close(ready[0]);
        close(ready[1]);
    });
    EXPECT_TRUE(anna.save()) << anna.all_messages();
    if (holder > 0) waitpid(holder, nullptr, 0);
    EXPECT_EQ(locked, 'n');
    EXPECT_EQ(
        stored(connection, "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'MAV30'"),
        (Rows{{"Avviso 45 gg"}}));
    EXPECT_EQ(stored(connection,
                     "SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'MAV30'"),
              (Rows{{"45"}}));
    EXPECT_EQ(stored(connection,
                     "SELECT CG6B_DESCR FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = 'MAV30'"),
              (Rows{{"Payment notice"}}));
}

CONDPAG_ON_ALL_BACKENDS(Faults);

// The server ends the editor's session (as an administrator or a crash would) at two moments of
// a save: before the header is written, and after the header and the installments were written
// but before the language descriptions. Either way nothing of the save is stored.
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
        EXPECT_FALSE(anna.save());
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
        EXPECT_EQ(header, (Rows{{"MAV 30 gg d.f."}}));
        EXPECT_EQ(days, (Rows{{"30"}}));
        EXPECT_TRUE(anna.window.Grst_RecordSet_CG62.pending());
        EXPECT_TRUE(anna.window.Grst_RecordSet_CG63.pending());
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

// The server refuses the save only as it is committed (a check it defers to the end of the
// transaction): nothing is stored, the window still shows the person's changes, pending, and
// once the check is gone a second save stores them.
TEST(ServerFaults, ACommitTheServerRefusesStoresNothingAndKeepsTheChangesPending) {
    if (auto reason = testing::unavailable_reason(testing::BackendKind::PostgresOdbc);
        !reason.empty()) {
        GTEST_SKIP() << reason;
    }
    testing::DemoDatabase db(testing::BackendKind::PostgresOdbc);
    ASSERT_TRUE(db.ok()) << db.error();
    auto admin = db.connect();
    ASSERT_TRUE(admin.ok());
    for (const char* sql :
         {"CREATE FUNCTION refuse_at_commit() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RAISE "
          "EXCEPTION ''lingua rifiutata alla conferma''; END'",
          "CREATE CONSTRAINT TRIGGER refuse_at_commit AFTER INSERT ON CG6B_CONDPAGLING "
          "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION refuse_at_commit()"}) {
        ASSERT_TRUE(admin->ExecuteChange(sql).ok()) << sql;
    }
    User anna(db.connection_string());
    ASSERT_TRUE(anna.go_to("MAV30"));
    ASSERT_TRUE(anna.window.TXT_DESCRIZIONE.user_type("Avviso 45 gg"));
    ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Payment notice")) << anna.all_messages();
    const std::string term =
        "SELECT CG62_DESCPAG, CG63_GGDECOR, (SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE "
        "CG6B_CODICE_CG62 = 'MAV30') FROM CG62_CONDPAGDES JOIN CG63_CONDPAGDET ON "
        "CG63_CODPAG_CG62 = CG62_CODPAG WHERE CG62_CODPAG = 'MAV30'";

    EXPECT_FALSE(anna.save());
    const std::string said = anna.all_messages();
    EXPECT_NE(said.find("la conferma del salvataggio non è riuscita"), std::string::npos) << said;
    EXPECT_NE(said.find("lingua rifiutata alla conferma"), std::string::npos) << said;
    EXPECT_EQ(stored(*admin, term), (Rows{{"MAV 30 gg d.f.", "30", "0"}}));
    EXPECT_EQ(anna.window.TXT_DESCRIZIONE.text(), "Avviso 45 gg");
    EXPECT_EQ(anna.window.GRID_CONDPAG.cell_text(0, "CG63_GGDECOR"), "45");
    EXPECT_TRUE(anna.window.Grst_RecordSet_CG6B.pending());

    ASSERT_TRUE(admin->ExecuteChange("DROP TRIGGER refuse_at_commit ON CG6B_CONDPAGLING").ok());
    EXPECT_TRUE(anna.save()) << anna.all_messages();
    EXPECT_EQ(stored(*admin, term), (Rows{{"Avviso 45 gg", "45", "1"}}));
}

}  // namespace
}  // namespace condpag
