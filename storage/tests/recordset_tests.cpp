// Record sets and the editor's statements against real databases, on every available backend.

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "storage/deletion_guard.h"
#include "storage/recordset.h"
#include "storage/schema.h"
#include "storage/statements.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class Storage : public testing::BackendTest {
  protected:
    Recordset open(const std::string& sql, Connection& on) {
        Recordset set;
        auto opened = set.Open(sql, on);
        EXPECT_TRUE(opened.ok()) << (opened.ok() ? "" : opened.error().message);
        return set;
    }
    Recordset open(const std::string& sql) { return open(sql, connection); }
    // The rows a statement reads, or none when it fails.
    std::vector<std::vector<Value>> rows_of(const std::string& sql) {
        auto result = connection.Execute(sql);
        EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
        return result.ok() ? result->rows : std::vector<std::vector<Value>>{};
    }
    long count(const std::string& sql) {
        auto rows = rows_of(sql);
        return rows.empty() ? -1 : static_cast<long>(CDecN(rows.at(0).at(0)));
    }
    // A new row at the end of the set, confirmed and waiting to be written.
    static void add(Recordset& set, const Record& row) {
        set.AddNew();
        for (const auto& [column, value] : row) set.SetField(column, value);
        set.Update();
    }
    static constexpr const char* kRb369Rows =
        "SELECT CG63_PROG, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RB369' "
        "ORDER BY CG63_PROG";
};

// The most involved statement of the subtypes window, written for SQL Server with lines ending in
// CR LF, but for one that glues to the next. Italy (SEPA, ISO IT): SEPA transfer by area, Ri.Ba.
// by ISO code, never the US code.
TEST_P(Storage, TheExportCodesOfACountryAreFoundOnEveryBackend) {
    std::vector<std::string> codes;
    for (auto& row : rows_of(
             "SELECT\r\n   CG6D_CODICE\r\n   , CG6D_DESCRPAG\r\nFROM\r\n   CG6D_CODPAGEXPMAN\r\n"
             "INNER JOIN CG07_TABSTATIEST ON\r\n   CG07_CODICE = 86\r\nWHERE\r\n   (\r\n"
             "      CG6D_CODISO IS NOT NULL\r\n      AND CG6D_CODISO = CG07_CODISO\r\n   )\r\n"
             "   OR\r\n   (\r\n      CG6D_CODISO IS NULL\r\n      AND ISNULL(CG07_FLGSEPA, 0) =\r\n"
             "      (\r\n         CASE\r\n            WHEN CG6D_AREA IN (0, 1) THEN CG6D_AREA\r\n"
             "            ELSE ISNULL(CG07_FLGSEPA, 0)\r\n         END\r\n      )   )\r\nORDER "
             "BY\r\n"
             "   CG6D_CODICE")) {
        codes.push_back(RTrimN(row[0]));
    }
    EXPECT_EQ(codes, (std::vector<std::string>{"CHQ", "RIB", "SCT"}));
}

TEST_P(Storage, TermRoundTrip) {
    Recordset header = open(kHeaderStatement);
    // The share is typed text into a number column.
    add(header, {{"CG62_CODPAG", "NEW1"},
                 {"CG62_DESCPAG", "Überweisung 1/3 + IVA"},
                 {"CG62_SCPERCAS", "2,5"}});
    ASSERT_EQ(header.UpdateBatch()->written, 1);

    auto other = database->connect();
    ASSERT_TRUE(other.ok());
    Recordset again = open("SELECT * FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'NEW1'", *other);
    ASSERT_EQ(again.RecordCount(), 1);
    EXPECT_EQ(again.Field("CG62_DESCPAG"), Value("Überweisung 1/3 + IVA"));
    EXPECT_EQ(again.Field("CG62_SCPERCAS"), Value(2.5));
    EXPECT_TRUE(again.Field("CG62_IDMEDIA_CG99").is_null());

    if (other->dialect() != Dialect::Postgres) {
        // Longer than a driver's fetch buffer, a letter outside ASCII across its end: read whole.
        const std::string long_text = std::string(1022, 'x') + "èé" + std::string(1500, 'y');
        ASSERT_TRUE(other->ExecuteChange("UPDATE CG62_CONDPAGDES SET CG62_DESPAGANAL = '" +
                                         long_text + "' WHERE CG62_CODPAG = 'NEW1'"));
        Recordset whole = open("SELECT * FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'NEW1'", *other);
        EXPECT_EQ(whole.Field("CG62_DESPAGANAL"), Value(long_text));
    }
}

TEST_P(Storage, BatchOfDetailsWithRenumbering) {
    Recordset rows = open(load_installments_statement("RB369"));
    ASSERT_EQ(rows.RecordCount(), 3);
    // A new second installment: the second and the third move up to 3 and 4, the second
    // waiting for the key the third still holds; a fifth is begun and cancelled. Written in one
    // transaction, as a save writes it.
    for (long position : {2L, 3L}) {
        rows.SetAbsolutePosition(position);
        rows.SetField("CG63_PROG", static_cast<double>(position + 1));
    }
    add(rows, {{"CG63_CODPAG_CG62", "RB369"}, {"CG63_PROG", 2}, {"CG63_GGDECOR", 45}});
    rows.AddNew();
    rows.SetField("CG63_PROG", 5);
    rows.CancelUpdate();
    EXPECT_EQ(rows.RecordCount(), 4);
    EXPECT_EQ(rows.AbsolutePosition(), 4);
    Recordset clone = rows.Clone();
    EXPECT_TRUE(clone.AbsolutePosition() == 1 && clone.pending());  // own position, same rows

    ASSERT_TRUE(connection.BeginTrans().ok());
    auto report = rows.UpdateBatch();
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report->written, 3);
    EXPECT_TRUE(report->errors.empty()) << report->errors[0].message;
    ASSERT_TRUE(connection.CommitTrans().ok());
    EXPECT_EQ(rows_of(kRb369Rows),
              (std::vector<std::vector<Value>>{{1, 30}, {2, 45}, {3, 60}, {4, 90}}));

    // Current row only: the other pending row stays pending.
    rows.MoveFirst();
    rows.SetField("CG63_GGDECOR", 31);
    rows.MoveLast();
    rows.SetField("CG63_GGDECOR", 121);
    EXPECT_EQ(rows.UpdateBatch(BatchScope::CurrentRow)->written, 1);
    EXPECT_TRUE(rows.pending());
    ASSERT_TRUE(rows.Requery().ok());
    EXPECT_FALSE(rows.pending());
    EXPECT_EQ(rows.Field("CG63_GGDECOR"), Value(30));
    EXPECT_EQ(clone.RecordCount(), 4);
}

// A save's transaction undone after its rows were written: the sets hold them as pending again,
// and the next write stores each once, reusing the statements prepared the first time.
TEST_P(Storage, RowsOfAnUndoneTransactionWaitToBeWrittenAgain) {
    Recordset rows = open(load_installments_statement("RB369"));
    rows.SetAbsolutePosition(2);
    rows.Delete();
    rows.MoveFirst();
    rows.SetField("CG63_GGDECOR", 45);
    add(rows, {{"CG63_CODPAG_CG62", "RB369"}, {"CG63_PROG", 4}});
    const std::vector<Record> shown = rows.records();
    const auto before = rows_of(kRb369Rows);
    auto kept = rows.Keep();
    ASSERT_TRUE(connection.BeginTrans().ok());
    const StatementCounts begun = connection.Counts();
    EXPECT_EQ(rows.UpdateBatch()->written, 3);
    // No key moves: no row needs a savepoint to go back to.
    EXPECT_EQ(connection.Counts().statements - begun.statements, 3);
    ASSERT_TRUE(connection.RollbackTrans().ok());
    rows.Restore(*kept);
    EXPECT_EQ(rows_of(kRb369Rows), before);
    EXPECT_EQ(rows.records(), shown);

    const StatementCounts first = connection.Counts();
    EXPECT_EQ(rows.UpdateBatch()->written, 3);
    const StatementCounts second = connection.Counts();
    EXPECT_EQ(second.statements - first.statements, 3);  // one statement per row, nothing more
    EXPECT_EQ(second.prepared, first.prepared);
    EXPECT_EQ(rows_of(kRb369Rows),
              (std::vector<std::vector<Value>>{{1, 45}, before[2], {4, Value()}}));
    // Nothing waits any more: the row whose deletion was stored does not come back.
    rows.RestoreDeleted();
    EXPECT_FALSE(rows.pending());
    EXPECT_EQ(rows.RecordCount(), 3);
}

// A row another user deleted is a conflict; a duplicate key of two columns is told with both, in
// plain words, and the row stays pending.
TEST_P(Storage, ConflictsAndDuplicatesStayPending) {
    auto second = database->connect();
    ASSERT_TRUE(second.ok());
    Recordset stale = open(load_languages_statement("BB3060"));
    ASSERT_EQ(stale.RecordCount(), 2);
    EXPECT_TRUE(*stale.StillAsRead());
    ASSERT_TRUE(second->Execute(delete_languages_statement("BB3060")).ok());
    EXPECT_FALSE(*stale.StillAsRead());
    stale.Delete();
    EXPECT_EQ(stale.UpdateBatch()->conflicts, 1);

    Recordset set = open(kInstallmentsEmpty);
    add(set, {{"CG63_CODPAG_CG62", "RB369"}, {"CG63_PROG", 2}});
    auto report = set.UpdateBatch();
    ASSERT_TRUE(report.ok());
    EXPECT_EQ(report->written, 0);
    ASSERT_EQ(report->errors.size(), 1u);
    EXPECT_EQ(report->errors[0].message, "esiste già una riga con codice RB369 / 2");
    EXPECT_TRUE(set.pending());
}

TEST_P(Storage, ASessionTheServerDroppedIsReopenedOnlyWhenAskedAndThenForEveryCopy) {
    Recordset rows = open(load_installments_statement("RB369"));
    Connection frame_copy = connection;
    rows.SetField("CG63_GGDECOR", 45);
    add(rows, {{"CG63_CODPAG_CG62", "RB369"}, {"CG63_PROG", 4}});
    if (connection.dialect() == Dialect::Postgres) {
        const std::string id = rows_of("SELECT pg_backend_pid()").at(0).at(0).to_text();
        auto admin = database->connect();
        ASSERT_TRUE(admin.ok());
        ASSERT_TRUE(admin->Execute("SELECT pg_terminate_backend(" + id + ")").ok());
        for (int wait = 0; wait < 200; ++wait) {
            auto left = admin->Execute("SELECT COUNT(*) FROM pg_stat_activity WHERE pid = " + id);
            if (left.ok() && CDecN(left->rows.at(0).at(0)) == 0) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        // The set never opens a new session on its own: writing again fails the same way.
        for (int attempt = 0; attempt < 2; ++attempt) {
            auto refused = rows.UpdateBatch();
            EXPECT_TRUE(!refused.ok() || refused->written == 0);
            EXPECT_TRUE(rows.pending());
            EXPECT_FALSE(frame_copy.alive());
        }
        ASSERT_TRUE(frame_copy.ReopenIfDropped().ok());
    } else {
        // A reopen through any copy gives all of them the new session and forgets old errors.
        EXPECT_FALSE(frame_copy.Execute("SELECT X FROM NOWHERE").ok());
        ASSERT_TRUE(frame_copy.Reopen().ok());
        EXPECT_TRUE(connection.Errors().empty());
    }
    auto second = rows.UpdateBatch();
    ASSERT_TRUE(second.ok()) << second.error().message;
    EXPECT_EQ(second->written, 2);
    EXPECT_TRUE(second->errors.empty()) << second->errors[0].message;
    EXPECT_FALSE(rows.pending());
    EXPECT_TRUE(connection.alive() && frame_copy.alive());
    const auto stored = rows_of(kRb369Rows);
    ASSERT_EQ(stored.size(), 4u);
    EXPECT_EQ(stored[0][1], Value(45));
    ASSERT_TRUE(rows.Requery().ok());
    EXPECT_EQ(rows.RecordCount(), 4);
}

// Another session holds the header row in an open transaction: a delete waits for it as long as
// the connection's lock wait, then is refused as a lock, and nothing is deleted.
TEST_P(Storage, ARowAnotherSessionHoldsIsWaitedForWithinTheLockWaitThenRefused) {
    auto holder = database->connect();
    ASSERT_TRUE(holder.ok());
    ASSERT_TRUE(holder->BeginTrans().ok());
    ASSERT_TRUE(holder->ExecuteChange(
        "UPDATE CG62_CONDPAGDES SET CG62_DESCPAG = 'In modifica' WHERE CG62_CODPAG = 'RD'"));
    Connection waiting;
    waiting.ConnectionString = database->connection_string();
    waiting.LockWait = std::chrono::milliseconds(1500);
    ASSERT_TRUE(waiting.Open().ok());
    auto deleted = waiting.ExecuteChange("DELETE FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'RD'");
    EXPECT_FALSE(deleted.ok());
    EXPECT_EQ(waiting.LastFailure(), FailureKind::Busy);
    ASSERT_TRUE(holder->RollbackTrans().ok());
    EXPECT_EQ(count("SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = 'RD'"), 1);
}

TEST_P(Storage, CascadeGoesOnPastAFailingDelete) {
    // Installments of RB3060 refuse to go; the periods before and languages after still do.
    std::string trigger = connection.dialect() == Dialect::Postgres
                              ? "CREATE FUNCTION refuse() RETURNS trigger LANGUAGE plpgsql AS "
                                "'BEGIN RAISE EXCEPTION ''installments are locked''; END'"
                              : "CREATE TRIGGER refuse BEFORE DELETE ON CG63_CONDPAGDET "
                                "BEGIN SELECT RAISE(ABORT, 'installments are locked'); END";
    ASSERT_TRUE(connection.ExecuteChange(trigger));
    if (connection.dialect() == Dialect::Postgres) {
        ASSERT_TRUE(connection.ExecuteChange(
            "CREATE TRIGGER refuse BEFORE DELETE ON CG63_CONDPAGDET FOR EACH ROW EXECUTE FUNCTION "
            "refuse()"));
    }
    ASSERT_TRUE(connection.ExecuteChange(
        "INSERT INTO CG6B_CONDPAGLING (CG6B_CODICE_CG62, CG6B_LINGUA_MG52, CG6B_DESCR) VALUES "
        "('RB3060', 'ENG', 'x')"));
    auto errors = delete_term_details(connection, "RB3060");
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_NE(errors[0].message.find("installments are locked"), std::string::npos);
    EXPECT_EQ(errors[0].statement, delete_installments_statement("RB3060"));
    EXPECT_EQ(count("SELECT COUNT(*) FROM CG65_PAGSLITANAL WHERE CG65_CODPAG_CG62='RB3060'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62='RB3060'"), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62='RB3060'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM CG65_PAGSLITANAL"), 3);  // others untouched
}

TEST_P(Storage, DeletionGuard) {
    auto mark = [](const std::string& text) { return "<" + text + ">"; };
    // The code, what the person is told (empty: not used anywhere) and the installments still
    // stored afterwards.
    const std::vector<std::tuple<const char*, std::string, int>> cases = {
        // Bracket and customer: the bracket wins.
        {"RB369",
         "La condizione di pagamento risulta utilizzata in Scaglioni di arrotondamento prezzi e "
         "sconti.\r\nControllare il codice scaglione SC01",
         3},
        {"RD30  ",
         "La condizione di pagamento risulta utilizzata in Anagrafica fornitori.\r\nControllare "
         "il fornitore 2001 Tessitura Lombarda S.r.l..",
         1},
        {"CTR",
         "La condizione di pagamento risulta utilizzata nei documenti.\r\nControllare il "
         "documento DDT n. 310 del 20/04/2026.",
         1},
        {"BB60FM",
         "<La condizione di pagamento risulta utilizzata in estratti conto a partite aperte.>\r\n"
         "Controllare la gestione estratti conto a partite aperte:\r\nCliente 1002 Ferramenta "
         "Bianchi S.p.A..",
         1},
        {"RB30FM",
         "<La condizione di pagamento risulta utilizzata in portafoglio attivo/passivo.>\r\n"
         "<Controllare la gestione effetti attivi/passivi:>\r\n<Fornitore 2002 Officine "
         "Meccaniche Verdi S.n.c..>",
         1},
        {"MAV30", "", 0},
    };
    for (const auto& [code, message, installments] : cases) {
        auto outcome = guard_and_delete_details(connection, code, mark);
        EXPECT_EQ(outcome.verdict.refused, !message.empty()) << code;
        EXPECT_EQ(outcome.verdict.message, message) << code;
        EXPECT_TRUE(outcome.cascade_errors.empty());
        EXPECT_EQ(*ContaRate(connection, code), installments) << code;
    }
}

TEST_P(Storage, QuoteInACode) {
    // "O'" must touch nothing but its own rows.
    Recordset rows = open(kInstallmentsEmpty);
    add(rows, {{"CG63_CODPAG_CG62", "O'"}, {"CG63_PROG", 1}});
    ASSERT_EQ(rows.UpdateBatch()->written, 1);
    ASSERT_TRUE(connection.ExecuteChange(
        "INSERT INTO CG44_CLIFOR (CG44_DITTA_CG18, CG44_TIPOCF, CG44_CLIFOR, CG44_CODICE_CG16, "
        "CG44_CODPAG_CG62) VALUES (1, 0, 9, 1, 'O''')"));
    EXPECT_EQ(open(load_installments_statement("O'")).RecordCount(), 1);
    auto outcome = guard_and_delete_details(connection, "O'", [](auto& s) { return s; });
    EXPECT_NE(outcome.verdict.message.find("Controllare il cliente 9 Rossi Mario S.r.l."),
              std::string::npos);
    EXPECT_EQ(*ContaRate(connection, "O'"), 1);
    ASSERT_TRUE(connection.ExecuteChange("DELETE FROM CG44_CLIFOR WHERE CG44_CLIFOR = 9"));
    outcome = guard_and_delete_details(connection, "O'", [](auto& s) { return s; });
    EXPECT_FALSE(outcome.verdict.refused);
    EXPECT_TRUE(outcome.cascade_errors.empty());
    EXPECT_EQ(*ContaRate(connection, "O'"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM CG63_CONDPAGDET"), 20);
}

// Counted where it exceeds what a 16-bit count holds, it stays at its largest.
TEST_P(Storage, ContaRateAboveThe16BitRangeDoesNotWrap) {
    ASSERT_TRUE(connection.ExecuteChange(
        "INSERT INTO CG63_CONDPAGDET (CG63_CODPAG_CG62, CG63_PROG) WITH RECURSIVE n(i) AS "
        "(SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40000) SELECT 'MOLTE', i FROM n"));
    EXPECT_EQ(*ContaRate(connection, "MOLTE"), 32767);
}

CONDPAG_ON_ALL_BACKENDS(Storage);

}  // namespace
}  // namespace condpag
