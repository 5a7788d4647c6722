// Two people editing the same payment term, each in a window of their own on a connection of
// their own, on every backend: a row someone else changed or deleted since it was read is never
// overwritten, the refused rows stay pending, and what either of them saved stays stored.

#include <gtest/gtest.h>

#include "editor/tests/session.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class SeveralUsers : public testing::BackendTest {};

// What a conflict must tell a person: another user changed the data, and it must be reloaded.
void expect_told_to_reload(const User& user) {
    const std::string said = user.all_messages();
    EXPECT_NE(said.find("altro utente"), std::string::npos) << said;
    EXPECT_NE(said.find("Ricaric"), std::string::npos) << said;
}

TEST_P(SeveralUsers, AnInstallmentChangedByAnotherUserIsNotOverwrittenAndStaysPending) {
    User anna(database->connection_string()), bruno(database->connection_string());
    ASSERT_TRUE(anna.go_to("RB3060"));
    ASSERT_TRUE(bruno.go_to("RB3060"));

    ASSERT_TRUE(bruno.edit_installment(0, "45")) << bruno.all_messages();
    ASSERT_TRUE(bruno.save()) << bruno.all_messages();

    // Anna still holds the installment as it was read: 30 days.
    ASSERT_TRUE(anna.edit_installment(0, "40")) << anna.all_messages();
    ASSERT_TRUE(anna.add_language("ENG", "Bank receipts")) << anna.all_messages();
    anna.save();
    expect_told_to_reload(anna);
    const std::string installments =
        "SELECT CG63_PROG, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = 'RB3060' "
        "ORDER BY CG63_PROG";
    EXPECT_EQ(stored(connection, installments), (Rows{{"1", "45"}, {"2", "60"}}));
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
    EXPECT_EQ(stored(connection,
                     "SELECT CG6B_LINGUA_MG52 FROM CG6B_CONDPAGLING WHERE CG6B_CODICE_CG62 = "
                     "'RB3060'"),
              (Rows{{"ENG"}}));
}

TEST_P(SeveralUsers, AHeaderChangedOrDeletedByAnotherUserRefusesTheWholeSave) {
    struct Case {
        const char* what;
        bool (*bruno_acts)(User&);
        Rows header_after;
    };
    const Case cases[] = {
        {"changed",
         [](User& u) { return u.window->TXT_DESCRIZIONE.user_type("Di Bruno") && u.save(); },
         {{"Di Bruno"}}},
        {"deleted", [](User& u) { return u.window->INTERNAV.user_click("Elimina"); }, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        testing::DemoDatabase db(GetParam());
        ASSERT_TRUE(db.ok()) << db.error();
        auto check = db.connect();
        ASSERT_TRUE(check.ok());
        User anna(db.connection_string()), bruno(db.connection_string());
        ASSERT_TRUE(anna.go_to("MAV30"));
        ASSERT_TRUE(bruno.go_to("MAV30"));
        ASSERT_TRUE(c.bruno_acts(bruno)) << bruno.all_messages();

        ASSERT_TRUE(anna.window->TXT_DESCRIZIONE.user_type("Di Anna"));
        ASSERT_TRUE(anna.edit_installment(0, "45")) << anna.all_messages();
        ASSERT_TRUE(anna.add_language("ENG", "Payment notice")) << anna.all_messages();
        EXPECT_FALSE(anna.save());
        expect_told_to_reload(anna);

        // Nothing of Anna's reached the database, not even rows of her details.
        EXPECT_EQ(stored(*check,
                         "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = "
                         "'MAV30'"),
                  c.header_after);
        Rows days = c.header_after.empty() ? Rows{} : Rows{{"30"}};
        EXPECT_EQ(stored(*check,
                         "SELECT CG63_GGDECOR FROM CG63_CONDPAGDET WHERE "
                         "CG63_CODPAG_CG62 = 'MAV30'"),
                  days);
        EXPECT_EQ(stored(*check,
                         "SELECT COUNT(*) FROM CG6B_CONDPAGLING WHERE "
                         "CG6B_CODICE_CG62 = 'MAV30'"),
                  (Rows{{"0"}}));
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
        EXPECT_TRUE(anna.window->Grst_RecordSet_CG6B.pending());
        EXPECT_EQ(anna.window->TXT_DESCRIZIONE.text(), "Di Anna");
    }
}

TEST_P(SeveralUsers, TheSecondUserAddingTheSameCodeIsToldItExistsAndStoresNothing) {
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
    EXPECT_EQ(stored(connection,
                     "SELECT CG62_DESCPAG FROM CG62_CONDPAGDES WHERE CG62_CODPAG = "
                     "'NEW1'"),
              (Rows{{"Di Bruno"}}));
    EXPECT_EQ(stored(connection,
                     "SELECT CG63_PROG, CG63_GGDECOR FROM CG63_CONDPAGDET WHERE "
                     "CG63_CODPAG_CG62 = 'NEW1'"),
              (Rows{{"1", "10"}}));
    // Anna's term is still on her screen, with its installment waiting.
    EXPECT_EQ(anna.window->TXT_DESCRIZIONE.text(), "Di Anna");
    EXPECT_TRUE(anna.window->Grst_RecordSet_CG63.pending());
}

CONDPAG_ON_ALL_BACKENDS(SeveralUsers);

}  // namespace
}  // namespace condpag
