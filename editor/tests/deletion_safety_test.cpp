// Deleting (and saving) a term is all or nothing, on every backend: another user's change since it
// was read, a statement that fails, a session the server ends, or a lock another program holds
// leave every row of the term stored as it was, and the person reads why. A term made later with
// the same code starts with no rows of the old one.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "editor/tests/session.h"
#include "storage/demo_data.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

// Every stored row of one term, table by table (each after its table's name), in key order.
Rows term_rows(Connection& connection, const std::string& code) {
    Rows all;
    for (const char* table : {"CG62", "CG63", "CG65", "CG6B"}) {
        all.push_back({table});
        for (auto& row : stored(connection, term_sql(table, "*", code))) all.push_back(row);
    }
    return all;
}

// Every table of a term holds no row of it any more.
void expect_gone(Connection& connection, const std::string& code) {
    EXPECT_EQ(term_rows(connection, code).size(), 4u) << code;
}

// RD has a header, installments, a shift period and a language description.
const char* const kTerm = "RD";

// A trigger that makes deleting from a table fail with the given text.
void refuse_deletes(Connection& connection, const std::string& table, const std::string& text) {
    const std::string name = "refuse_" + table;
    const std::vector<std::string> statements =
        connection.dialect() == Dialect::Postgres
            ? std::vector<std::string>{"CREATE FUNCTION " + name +
                                           "() RETURNS trigger LANGUAGE plpgsql AS 'BEGIN RAISE "
                                           "EXCEPTION ''" +
                                           text + "''; END'",
                                       "CREATE TRIGGER " + name + " BEFORE DELETE ON " + table +
                                           " FOR EACH ROW EXECUTE FUNCTION " + name + "()"}
            : std::vector<std::string>{"CREATE TRIGGER " + name + " BEFORE DELETE ON " + table +
                                       " BEGIN SELECT RAISE(ABORT, '" + text + "'); END"};
    for (const std::string& sql : statements)
        ASSERT_TRUE(connection.ExecuteChange(sql).ok()) << sql;
}

class DeletionSafety : public testing::BackendTest {};

TEST_P(DeletionSafety, ADeleteThatCannotFinishLeavesTheWholeTermAndSaysWhy) {
    // SessionEnded: by the server, after the details were deleted and before the header.
    enum class Fault { InUse, GuardCannotRead, ChangedByAnotherUser, Refused, SessionEnded };
    struct Case {
        Fault fault;
        const char* code;
        const char* told;           // what the person reads
        const char* refusing = "";  // the table whose deletes fail
    };
    for (const Case& c :
         {Case{Fault::InUse, "BB30",
               "La condizione di pagamento risulta utilizzata in Anagrafica clienti.\r\n"
               "Controllare il cliente 1002 Ferramenta Bianchi S.p.A.."},
          Case{Fault::GuardCannotRead, "IVARB", "Impossibile verificare"},
          Case{Fault::ChangedByAnotherUser, kTerm, "modificati da un altro utente"},
          Case{Fault::Refused, kTerm, "le rate non sono state eliminate", "CG63_CONDPAGDET"},
          Case{Fault::Refused, kTerm, "le descrizioni in lingua non sono state eliminate",
               "CG6B_CONDPAGLING"},
          Case{Fault::Refused, kTerm, "CG62_CONDPAGDES bloccata", "CG62_CONDPAGDES"},
          Case{Fault::SessionEnded, kTerm, "si è interrotto"}}) {
        SCOPED_TRACE(c.told);
        if (c.fault == Fault::SessionEnded && GetParam() != testing::BackendKind::PostgresOdbc) {
            continue;
        }
        Scratch db(GetParam());
        ASSERT_TRUE(db.ready()) << db.error();
        User anna(db.connection_string());
        ASSERT_TRUE(anna.go_to(c.code));
        if (c.fault == Fault::GuardCannotRead) {  // the portfolio is the last place looked at
            ASSERT_TRUE(db.admin->ExecuteChange("DROP TABLE EF01_SCADENZE").ok());
        } else if (c.fault == Fault::ChangedByAnotherUser) {
            User bruno(db.connection_string());
            ASSERT_TRUE(bruno.go_to(kTerm) &&
                        bruno.window->TXT_DESCRIZIONE.user_type("Rimessa cambiata") && bruno.save())
                << bruno.all_messages();
        } else if (c.fault == Fault::Refused) {
            refuse_deletes(*db.admin, c.refusing, std::string(c.refusing) + " bloccata");
        } else if (c.fault == Fault::SessionEnded) {
            // Connected after the window's own handler: runs once the details are deleted.
            anna.window->FME_CONDPAGDES.BeforeDelete.connect(
                [&, kill = terminate_session(*anna.window), ended = false](bool& cancel) mutable {
                    if (ended || cancel) return;
                    ended = true;
                    EXPECT_TRUE(db.admin->Execute(kill).ok());
                });
        }
        const Rows before = term_rows(*db.admin, c.code);
        ASSERT_GT(before.size(), 5u);

        EXPECT_FALSE(anna.window->INTERNAV.user_click("Elimina"));
        anna.expect_told({c.told});
        anna.expect_told({"altro utente"}, c.fault == Fault::ChangedByAnotherUser);
        if (c.fault == Fault::InUse || c.fault == Fault::GuardCannotRead) {
            EXPECT_EQ(anna.messages.shown.back().title, "Eliminazione impossibile");
            EXPECT_EQ(anna.messages.shown.back().style, kStyleStop);
        }
        EXPECT_EQ(term_rows(*db.admin, c.code), before);
        // The term stays in the window, and a later save does not delete it after all.
        EXPECT_EQ(anna.window->TXT_CODICE.text(), c.code);
        EXPECT_FALSE(anna.window->Grst_RecordSet_CG62.pending());
        if (c.fault == Fault::SessionEnded) {
            // Deleting again opens a new session first and deletes the whole term.
            ASSERT_TRUE(anna.window->INTERNAV.user_click("Elimina")) << anna.all_messages();
            expect_gone(*db.admin, kTerm);
        }
    }
}

TEST_P(DeletionSafety, ADeletedTermLeavesNoRowAndItsCodeStartsAfresh) {
    const std::string hostile = "1'OR'1";
    run_on(connection,
           {"INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG) VALUES ('1''OR''1', 'Ostile')",
            "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG, CG63_PERCIMP, CG63_PERCIVA) "
            "VALUES ('1''OR''1', 1, 100, 100)"});
    const std::string others_sql =
        "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 NOT IN ('RD', '1''OR''1')";
    const Rows others = stored(connection, others_sql);
    User anna(database->connection_string(), 1);  // single-installment mode counts installments
    for (const std::string& code : {std::string(kTerm), hostile}) {
        ASSERT_TRUE(anna.go_to(code)) << anna.all_messages();
        EXPECT_EQ(anna.window->ContaRate(code), 1);
        ASSERT_TRUE(anna.window->INTERNAV.user_click("Elimina")) << anna.all_messages();
        EXPECT_NE(anna.window->TXT_CODICE.text(), code);
        expect_gone(connection, code);
    }
    EXPECT_EQ(stored(connection, others_sql), others);
    // A subtype typed with a separator decodes nothing and breaks nothing.
    ASSERT_TRUE(anna.go_to("RB30FM"));
    anna.messages.shown.clear();
    ASSERT_TRUE(anna.window->TXT_SOTTOTIPO.user_type("1;"));
    anna.window->TXT_SOTTOTIPO.user_leave();
    EXPECT_EQ(anna.window->TXT_DECODSTIPO.text(), "");
    EXPECT_TRUE(anna.messages.shown.empty()) << anna.all_messages();

    // Rows left under a code that has no header, as a delete that stopped half way once did,
    // do not join a new term of that code.
    run_on(connection,
           {"INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG, CG63_GGDECOR) VALUES "
            "('NUOVO', 1, 90), ('NUOVO', 2, 120)",
            "INSERT INTO CG65_PAGSLITANAL (CG65_CODPAG_CG62, CG65_DAMMGG, CG65_AMMGG) VALUES "
            "('NUOVO', 801, 831)",
            "INSERT INTO CG6B_CONDPAGLING (CG6B_CODICE_CG62, CG6B_LINGUA_MG52, CG6B_DESCR) "
            "VALUES ('NUOVO', 'ENG', 'Old')"});
    User bruno(database->connection_string());
    ASSERT_TRUE(bruno.begin_term("NUOVO", "Nuova condizione", "30")) << bruno.all_messages();
    EXPECT_EQ(bruno.window->GRID_CONDPAG.row_count(), 1);
    ASSERT_TRUE(bruno.save()) << bruno.all_messages();
    EXPECT_EQ(term_rows(connection, "NUOVO").size(), 6u);  // four tables, header, one row
    EXPECT_EQ(stored(connection, term_sql("CG63", "CG63_PROG, CG63_GGDECOR", "NUOVO")),
              (Rows{{"1", "30"}}));
    EXPECT_EQ(bruno.window->GRID_PERSLIT.row_count(), 0);
}

// Another program writes the file for a while: a lock shorter than the wait delays the
// deletion, a longer one refuses it after the wait, naming the lock, with nothing deleted.
TEST_P(DeletionSafety, AWriteLockOfAnotherProgramDelaysOrRefusesTheWholeDeletion) {
    if (database->file().empty()) GTEST_SKIP() << "no database file on this backend";
    struct Case {
        std::chrono::milliseconds held;
        bool deleted;
    };
    for (const Case& c : {Case{std::chrono::milliseconds(1500), true},
                          Case{kDefaultLockWait + std::chrono::milliseconds(2500), false}}) {
        SCOPED_TRACE(c.held.count());
        Scratch db(GetParam());
        ASSERT_TRUE(db.ready()) << db.error();
        User anna(db.connection_string());
        ASSERT_TRUE(anna.go_to(kTerm));
        const Rows before = term_rows(*db.admin, kTerm);
        const LockHolder holder = hold_write_lock(db.file(), c.held);
        ASSERT_TRUE(holder.holds);
        auto start = std::chrono::steady_clock::now();
        bool deleted = anna.window->INTERNAV.user_click("Elimina");
        auto waited = std::chrono::steady_clock::now() - start;
        waitpid(holder.pid, nullptr, 0);
        EXPECT_EQ(deleted, c.deleted) << anna.all_messages();
        if (c.deleted) {
            expect_gone(*db.admin, kTerm);
        } else {
            anna.expect_told({"locked", "Non è stato eliminato nulla"});
            anna.expect_told({"altro utente"}, false);
            // One wait, not one per statement.
            EXPECT_LT(waited, kDefaultLockWait + std::chrono::milliseconds(1500));
            EXPECT_EQ(term_rows(*db.admin, kTerm), before);
            EXPECT_EQ(anna.window->TXT_CODICE.text(), kTerm);
        }
    }
}

// A PostgreSQL server of the test's own (scripts/pg-private.sh), so that stopping it disturbs no
// other suite. Empty connection string when the machine cannot run one.
class PrivateServer {
  public:
    PrivateServer() {
        std::string out = run("start");
        if (out.rfind("odbc:", 0) == 0) connection_string_ = out.substr(0, out.find('\n'));
    }
    ~PrivateServer() { run("remove"); }
    const std::string& connection_string() const { return connection_string_; }
    bool stop() { return run("stop", " >/dev/null 2>&1; echo $?") == "0\n"; }
    bool resume() { return run("resume", " >/dev/null 2>&1; echo $?") == "0\n"; }

  private:
    std::string run(const std::string& action, const std::string& then = "") {
        // The script lies in the source tree that holds the build folder of this program.
        const std::string script = "scripts/pg-private.sh";
        auto folder = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        while (folder != folder.root_path() && !std::filesystem::exists(folder / script)) {
            folder = folder.parent_path();
        }
        const std::string command =
            (folder / script).string() + " " + action + " " + folder_ + then;
        std::string out;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char buffer[512];
            while (fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
            pclose(pipe);
        }
        return out;
    }
    std::string folder_ =
        (std::filesystem::temp_directory_path() / ("condpag-pg-" + std::to_string(getpid())))
            .string();
    std::string connection_string_;
};

// The server stops (as a crash would) half way through a deletion, after the details and before
// the header row, and half way through a save, after the header and the installments and before
// the language descriptions: nothing is reported as done, and once the server is back every row
// of the term reads as it was.
TEST(ServerStops, AServerStoppedHalfWayThroughADeleteOrASaveStoresNothing) {
    PrivateServer server;
    if (server.connection_string().empty()) GTEST_SKIP() << "no PostgreSQL server here";
    enum class Operation { Delete, Save };
    for (Operation operation : {Operation::Delete, Operation::Save}) {
        const bool deleting = operation == Operation::Delete;
        SCOPED_TRACE(deleting ? "delete" : "save");
        // The demo database is made on the private server, the shared one named again after.
        const char* shared = std::getenv("CONDPAG_PG");
        const std::string shared_server = shared != nullptr ? shared : "";
        setenv("CONDPAG_PG", server.connection_string().c_str(), 1);
        testing::DemoDatabase db(testing::BackendKind::PostgresOdbc);
        shared_server.empty() ? unsetenv("CONDPAG_PG")
                              : setenv("CONDPAG_PG", shared_server.c_str(), 1);
        ASSERT_TRUE(db.ok()) << db.error();
        const std::string term = deleting ? kTerm : "MAV30";
        Rows before;
        {
            auto admin = db.connect();
            ASSERT_TRUE(admin.ok());
            before = term_rows(*admin, term);
        }
        User anna(db.connection_string());
        ASSERT_TRUE(deleting ? anna.go_to(term) : anna.change_notice_term());
        bool stopped = false;
        auto stop = [&] {
            if (stopped) return;
            stopped = true;
            EXPECT_TRUE(server.stop());
        };
        bool done = false;
        if (deleting) {
            anna.window->FME_CONDPAGDES.BeforeDelete.connect([&](bool& cancel) {
                if (!cancel) stop();
            });
            done = anna.window->INTERNAV.user_click("Elimina");
        } else {
            anna.window->FME_DETTAGLIO.UpdateBatchAll.connect(stop);
            done = anna.save();
        }
        ASSERT_TRUE(stopped);
        EXPECT_FALSE(done);
        anna.expect_told({"si è interrotto"});
        EXPECT_EQ(anna.window->TXT_CODICE.text(), term);
        ASSERT_TRUE(server.resume());
        auto admin = db.connect();
        ASSERT_TRUE(admin.ok());
        EXPECT_EQ(term_rows(*admin, term), before);
    }
}

CONDPAG_ON_ALL_BACKENDS(DeletionSafety);

}  // namespace
}  // namespace condpag
