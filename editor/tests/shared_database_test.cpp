// Saving a term on a database others use too, on every backend: two people editing the same
// term, a statement that fails, a server that goes away, texts and codes as typed. A row someone
// else changed is never overwritten, what was not written stays pending, the person is told, and
// nothing stored is damaged.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cctype>
#include <optional>

#include "editor/tests/session.h"
#include "rules/utf8.h"
#include "storage/demo_data.h"
#include "storage/schema.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class SharedDatabase : public testing::BackendTest {};

// What a conflict must tell a person: another user changed the data, and it must be reloaded.
const std::initializer_list<std::string> kReload = {"altro utente", "Ricaric"};

TEST_P(SharedDatabase, AnInstallmentChangedByAnotherUserIsNotOverwrittenAndStaysPending) {
    User anna(database->connection_string()), bruno(database->connection_string());
    ASSERT_TRUE(anna.go_to("RB3060"));
    ASSERT_TRUE(bruno.go_to("RB3060"));

    ASSERT_TRUE(bruno.edit_installment(0, "45")) << bruno.all_messages();
    ASSERT_TRUE(bruno.save()) << bruno.all_messages();

    // Anna still holds the installment as it was read: 30 days.
    ASSERT_TRUE(anna.edit_installment(0, "40")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Bank receipts")) << anna.all_messages();
    anna.save();
    anna.expect_told(kReload);
    anna.expect_told({"Impossibile salvare la rata"});
    const std::string installments = term_sql("CG63", "CG63_PROG, CG63_GGDECOR", "RB3060");
    // Nothing of her save is stored, her new language included.
    EXPECT_EQ(stored(connection, installments), (Rows{{"1", "45"}, {"2", "60"}}));
    EXPECT_EQ(stored(connection, term_sql("CG6B", "CG6B_LINGUA_MG52", "RB3060")), Rows{});
    // Her refused row is still hers to keep or drop.
    EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
    EXPECT_TRUE(anna.window->FME_DETTAGLIO.BatchPending());
    EXPECT_EQ(anna.window->GRID_CONDPAG.cell_text(0, "CG63_GGDECOR"), "40");

    // Reloading shows Bruno's row; her change made again is then saved.
    ASSERT_TRUE(anna.window->INTERNAV.user_click("Annulla"));
    EXPECT_EQ(anna.window->GRID_CONDPAG.cell_text(0, "CG63_GGDECOR"), "45");
    EXPECT_FALSE(anna.window->Grst_RecordSet_CG63.pending());
    const size_t told = anna.messages.shown.size();
    ASSERT_TRUE(anna.edit_installment(0, "40")) << anna.all_messages();
    ASSERT_TRUE(anna.save()) << anna.all_messages();
    EXPECT_EQ(anna.messages.shown.size(), told) << anna.all_messages();
    EXPECT_EQ(stored(connection, installments), (Rows{{"1", "40"}, {"2", "60"}}));
}

TEST_P(SharedDatabase, AHeaderChangedOrDeletedByAnotherUserRefusesTheWholeSave) {
    struct Case {
        const char* what;
        bool (*bruno_acts)(User&);
        Rows term_after;
    };
    const Case cases[] = {
        {"changed",
         [](User& u) { return u.window->TXT_DESCRIZIONE.user_type("Di Bruno") && u.save(); },
         {{"Di Bruno", "30", "0"}}},
        {"deleted", [](User& u) { return u.window->INTERNAV.user_click("Elimina"); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Scratch db(GetParam());
        ASSERT_TRUE(db.ready()) << db.error();
        User anna(db.connection_string()), bruno(db.connection_string());
        ASSERT_TRUE(anna.change_notice_term()) << anna.all_messages();
        ASSERT_TRUE(bruno.go_to("MAV30"));
        ASSERT_TRUE(c.bruno_acts(bruno)) << bruno.all_messages();

        EXPECT_FALSE(anna.save());
        anna.expect_told(kReload);
        // Nothing of Anna's reached the database, not even rows of her details.
        EXPECT_EQ(notice_term(*db.admin), c.term_after);
        EXPECT_EQ(stored(*db.admin, term_sql("CG6B", "COUNT(*)", "MAV30")), (Rows{{"0"}}));
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG6B.pending());
        EXPECT_EQ(anna.window->TXT_DESCRIZIONE.text(), "Avviso 45 gg");
    }
}

TEST_P(SharedDatabase, TheSecondUserAddingTheSameCodeIsToldItExistsAndStoresNothing) {
    User anna(database->connection_string()), bruno(database->connection_string());
    ASSERT_TRUE(anna.begin_term("NEW1", "Di Anna", "20")) << anna.all_messages();
    ASSERT_TRUE(bruno.begin_term("NEW1", "Di Bruno", "10")) << bruno.all_messages();
    ASSERT_TRUE(bruno.save()) << bruno.all_messages();

    EXPECT_FALSE(anna.save());
    ASSERT_FALSE(anna.messages.shown.empty());
    const std::string said = anna.messages.shown.back().text;
    EXPECT_NE(said.find("NEW1"), std::string::npos) << said;
    EXPECT_TRUE(said.find("esiste già") != std::string::npos ||
                said.find("already exists") != std::string::npos)
        << said;
    // The driver's own words are not what a person reads.
    for (const char* driver :
         {"UNIQUE", "unique", "duplicate", "23505", "23000", "constraint", "[unixODBC]", "ODBC"}) {
        EXPECT_EQ(said.find(driver), std::string::npos) << driver << " in: " << said;
    }
    EXPECT_EQ(stored(connection, term_sql("CG62", "CG62_DESCPAG", "NEW1")), (Rows{{"Di Bruno"}}));
    EXPECT_EQ(stored(connection, term_sql("CG63", "CG63_PROG, CG63_GGDECOR", "NEW1")),
              (Rows{{"1", "10"}}));
    // Anna's term is still on her screen, with its installment waiting.
    EXPECT_EQ(anna.window->TXT_DESCRIZIONE.text(), "Di Anna");
    EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
}

TEST_P(SharedDatabase, AFailingStatementStoresNothingAndASecondSaveStoresTheWholeTerm) {
    User anna(database->connection_string());
    ASSERT_TRUE(anna.go_to("RID30"));
    ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Direct debit")) << anna.all_messages();
    // The language table goes away under the window: its insert cannot run.
    ASSERT_TRUE(connection.ExecuteChange("DROP TABLE CG6B_CONDPAGLING").ok());

    const std::string installments = term_sql("CG63", "CG63_PROG, CG63_GGDECOR", "RID30");
    const Rows before = stored(connection, installments);
    EXPECT_FALSE(anna.save());
    anna.expect_told({"Impossibile salvare", "non è stato salvato nulla"});
    // Nothing of the save is stored; every change waits to be saved again.
    EXPECT_EQ(stored(connection, installments), before);
    EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
    EXPECT_TRUE(anna.window->Grst_RecordSet_CG6B.pending());
    EXPECT_TRUE(anna.window->FME_LINGUA.BatchPending());

    // The table is back: saving again writes the waiting row and nothing twice.
    ASSERT_TRUE(create_database(connection, false).ok());
    ASSERT_TRUE(anna.save()) << anna.all_messages();
    EXPECT_FALSE(anna.window->Grst_RecordSet_CG6B.pending());
    EXPECT_EQ(stored(connection, installments), (Rows{{"1", "45"}}));
    EXPECT_EQ(stored(connection,
                     "SELECT CG6B_CODICE_CG62, CG6B_LINGUA_MG52, CG6B_DESCR FROM "
                     "CG6B_CONDPAGLING"),
              (Rows{{"RID30", "ENG", "Direct debit"}}));
}

TEST_P(SharedDatabase, TextsOverTheLimitAreCutAtACharacterAndStoredAsTyped) {
    User anna(database->connection_string());
    std::string description;
    for (int i = 0; i < 41; ++i) description += i % 2 ? "è" : "à";
    ASSERT_TRUE(anna.begin_term("ÀÉ€ÀÉ€Z", description, "30")) << anna.all_messages();
    ASSERT_TRUE(anna.save()) << anna.all_messages();
    const std::string code = "ÀÉ€ÀÉ€";
    const std::string kept = std::string(utf8_prefix(description, 40));
    ASSERT_EQ(utf8_length(kept), 40u);
    EXPECT_EQ(anna.window->TXT_CODICE.text(), code);
    EXPECT_EQ(stored(connection, term_sql("CG62", "CG62_DESCPAG", code)), (Rows{{kept}}));
    EXPECT_EQ(stored(connection, term_sql("CG63", "CG63_PROG", code)), (Rows{{"1"}}));
}

TEST_P(SharedDatabase, ASearchForACodeFindsThatCodeOnly) {
    run_on(connection,
           {"INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG) VALUES ('1', 'Uno')"});
    User anna(database->connection_string());
    struct Case {
        const char* typed;
        const char* shown;  // the description found; empty: nothing
    };
    for (const Case& c : {Case{"01", ""}, Case{"1.0", ""}, Case{"1", "Uno"}}) {
        SCOPED_TRACE(c.typed);
        bool found = anna.window->INTERNAV.user_click("Cerca") &&
                     anna.window->TXT_CODICE.user_type(c.typed) &&
                     anna.window->INTERNAV.user_click("Trova");
        EXPECT_EQ(found ? anna.window->TXT_DESCRIZIONE.text() : "", c.shown) << anna.all_messages();
    }
}

TEST_P(SharedDatabase, AMissingInstallmentsTableStopsTheWindowWithTheLoadErrorDialog) {
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
    EXPECT_FALSE(anna.window->loaded());  // the dialog answered "leave"
}

// Another program asks for the write lock of the file while a save is half done: it cannot
// slip in between the installments and the language descriptions, so the save never fails half
// way on a lock and the whole term is stored.
TEST_P(SharedDatabase, AnotherProgramCannotLockTheFileHalfWayThroughASave) {
    if (database->file().empty()) GTEST_SKIP() << "no database file on this backend";
    User anna(database->connection_string());
    ASSERT_TRUE(anna.change_notice_term()) << anna.all_messages();
    std::optional<LockHolder> holder;
    anna.window->FME_DETTAGLIO.UpdateBatchAll.connect([&] {
        if (!holder) {
            holder =
                hold_write_lock(database->file(), kDefaultLockWait + std::chrono::seconds(2), 200);
        }
    });
    EXPECT_TRUE(anna.save()) << anna.all_messages();
    ASSERT_TRUE(holder && holder->pid > 0);
    waitpid(holder->pid, nullptr, 0);
    EXPECT_FALSE(holder->holds);
    EXPECT_EQ(notice_term(connection), kNoticeChanged);
}

CONDPAG_ON_ALL_BACKENDS(SharedDatabase);

// The server ends the editor's session (as an administrator or a crash would) before the header
// is written, or after the header and the installments but before the language descriptions; or
// it refuses the save only as it is committed, by a check it defers to the end of the
// transaction. Each time nothing of the save is stored, the person is told, the changes stay on
// screen and pending, and a second save stores them once.
TEST(ServerFaults, ASaveTheServerEndsOrRefusesStoresNothingAndASecondSaveStoresIt) {
    CONDPAG_SKIP_WITHOUT_POSTGRES();
    enum class Fault { EndedBeforeHeader, EndedAfterInstallments, RefusedAtCommit };
    struct Case {
        Fault fault;
        const char* told;
        const char* why;
    };
    for (const Case& c :
         {Case{Fault::EndedBeforeHeader, "Impossibile salvare", "si è interrotto"},
          Case{Fault::EndedAfterInstallments, "Impossibile salvare", "si è interrotto"},
          Case{Fault::RefusedAtCommit, "la conferma del salvataggio non è riuscita",
               "lingua rifiutata alla conferma"}}) {
        SCOPED_TRACE(static_cast<int>(c.fault));
        const bool ended = c.fault != Fault::RefusedAtCommit;
        Scratch db(testing::BackendKind::PostgresOdbc);
        ASSERT_TRUE(db.ready()) << db.error();
        auto& admin = db.admin;
        User anna(db.connection_string(), 1);  // single-installment mode counts installments
        ASSERT_TRUE(anna.change_notice_term()) << anna.all_messages();
        const std::string kill = terminate_session(*anna.window);
        bool killed = false;
        auto terminate = [&] {
            if (killed) return;
            killed = true;
            EXPECT_TRUE(admin->Execute(kill).ok());
        };
        if (c.fault == Fault::EndedBeforeHeader) {
            anna.window->FME_CONDPAGDES.BeforeUpdate.connect([&](bool&) { terminate(); });
        } else if (c.fault == Fault::EndedAfterInstallments) {
            anna.window->FME_DETTAGLIO.UpdateBatchAll.connect([&] { terminate(); });
        } else {
            run_on(*admin,
                   {"CREATE FUNCTION refuse_at_commit() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN "
                    "RAISE EXCEPTION ''lingua rifiutata alla conferma''; END'",
                    "CREATE CONSTRAINT TRIGGER refuse_at_commit AFTER INSERT ON CG6B_CONDPAGLING "
                    "DEFERRABLE INITIALLY DEFERRED FOR EACH ROW EXECUTE FUNCTION "
                    "refuse_at_commit()"});
        }
        const std::string others =
            "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 <> 'MAV30'";
        const Rows others_before = stored(*admin, others);

        EXPECT_FALSE(anna.save());
        EXPECT_EQ(killed, ended);
        anna.expect_told({c.told, c.why});
        EXPECT_EQ(notice_term(*admin), kNoticeAsShipped);
        EXPECT_EQ(stored(*admin, others), others_before);  // every other term is as it was
        EXPECT_EQ(anna.window->TXT_DESCRIZIONE.text(), "Avviso 45 gg");
        EXPECT_EQ(anna.window->GRID_CONDPAG.cell_text(0, "CG63_GGDECOR"), "45");
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG62.pending());
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG6B.pending());

        if (ended) {
            // A procedure that reports its errors shows the error dialog under its name.
            anna.messages.shown.clear();
            EXPECT_EQ(anna.window->ContaRate("MAV30"), 0);
            ASSERT_FALSE(anna.messages.shown.empty());
            EXPECT_EQ(anna.messages.shown.back().kind, ShownMessage::Kind::ErrorDialog);
            EXPECT_EQ(anna.messages.shown.back().title, "ContaRate");
        } else {
            ASSERT_TRUE(
                admin->ExecuteChange("DROP TRIGGER refuse_at_commit ON CG6B_CONDPAGLING").ok());
        }
        // Saving again reconnects and writes the rows that were kept pending, once.
        EXPECT_TRUE(anna.save()) << anna.all_messages();
        EXPECT_EQ(notice_term(*admin), kNoticeChanged);
        EXPECT_EQ(stored(*admin, others), others_before);
    }
}

// The session was ended and the server takes no new one from this user for now: the save stops
// before its first statement, with one message, and works once the user may log in again.
TEST(ServerFaults, ASaveWhileTheServerTakesNoSessionIsRefusedOnceAndLaterStored) {
    CONDPAG_SKIP_WITHOUT_POSTGRES();
    Scratch db(testing::BackendKind::PostgresOdbc);
    ASSERT_TRUE(db.ready()) << db.error();
    auto schema = db.admin->Execute("SELECT current_schema()");
    ASSERT_TRUE(schema.ok() && !schema->rows.empty());
    const std::string tables = schema->rows[0][0].to_text(), role = tables + "_anna";
    run_on(*db.admin,
           {"CREATE ROLE " + role + " LOGIN", "GRANT USAGE ON SCHEMA " + tables + " TO " + role,
            "GRANT ALL ON ALL TABLES IN SCHEMA " + tables + " TO " + role});
    std::string as_anna = db.connection_string();
    as_anna.replace(as_anna.find("Username=postgres"), 17, "Username=" + role);
    {
        User anna(as_anna);
        ASSERT_TRUE(anna.change_notice_term()) << anna.all_messages();
        run_on(*db.admin, {"ALTER ROLE " + role + " NOLOGIN"});
        ASSERT_TRUE(db.admin->Execute(terminate_session(*anna.window)).ok());
        EXPECT_EQ(anna.window->ContaRate("MAV30"), 0);  // the window learns its session is gone
        anna.messages.shown.clear();

        EXPECT_FALSE(anna.save());
        ASSERT_EQ(anna.messages.shown.size(), 1u) << anna.all_messages();
        EXPECT_EQ(anna.messages.shown[0].text.rfind(
                      "Impossibile salvare la condizione di pagamento: ", 0),
                  0u);
        EXPECT_EQ(notice_term(*db.admin), kNoticeAsShipped);
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG62.pending());

        run_on(*db.admin, {"ALTER ROLE " + role + " LOGIN"});
        EXPECT_TRUE(anna.save()) << anna.all_messages();
        EXPECT_EQ(notice_term(*db.admin), kNoticeChanged);
    }
    run_on(*db.admin, {"DROP OWNED BY " + role, "DROP ROLE " + role});
}

}  // namespace
}  // namespace condpag
