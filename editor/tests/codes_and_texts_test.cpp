// What a person types is stored as typed, on every backend: a box's limit counts characters, so
// accented letters and the euro sign are cut whole; a code searched for is found only as that
// code, never as a number equal to it.

#include <gtest/gtest.h>

#include "editor/tests/session.h"
#include "rules/utf8.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

class CodesAndTexts : public testing::BackendTest {};

TEST_P(CodesAndTexts, TextsOverTheLimitAreCutAtACharacterAndStoredAsTyped) {
    User anna(database->connection_string());
    std::string description;
    for (int i = 0; i < 41; ++i) description += i % 2 ? "è" : "à";
    ASSERT_TRUE(anna.begin_term("ÀÉ€ÀÉ€Z", description, "30")) << anna.all_messages();
    ASSERT_TRUE(anna.save()) << anna.all_messages();
    const std::string code = "ÀÉ€ÀÉ€";
    const std::string kept = std::string(utf8_prefix(description, 40));
    ASSERT_EQ(utf8_length(kept), 40u);
    EXPECT_EQ(anna.window->TXT_CODICE.text(), code);
    EXPECT_EQ(stored(connection,
                     "SELECT CG62_CODPAG, CG62_DESCPAG FROM CG62_CONDPAGDES WHERE "
                     "CG62_CODPAG = '" +
                         code + "'"),
              (Rows{{code, kept}}));
    EXPECT_EQ(stored(connection,
                     "SELECT CG63_CODPAG_CG62, CG63_PROG FROM CG63_CONDPAGDET WHERE "
                     "CG63_CODPAG_CG62 = '" +
                         code + "'"),
              (Rows{{code, "1"}}));
}

TEST_P(CodesAndTexts, ASearchForACodeFindsThatCodeOnly) {
    ASSERT_TRUE(connection
                    .ExecuteChange("INSERT INTO CG62_CONDPAGDES (CG62_CODPAG, CG62_DESCPAG) "
                                   "VALUES ('1', 'Uno')")
                    .ok());
    User anna(database->connection_string());
    struct Case {
        const char* typed;
        const char* shown;  // empty: nothing found
    };
    for (const Case& c : {Case{"01", ""}, Case{"1.0", ""}, Case{"1", "1"}}) {
        SCOPED_TRACE(c.typed);
        bool found = anna.window->INTERNAV.user_click("Cerca") &&
                     anna.window->TXT_CODICE.user_type(c.typed) &&
                     anna.window->INTERNAV.user_click("Trova");
        EXPECT_EQ(found, *c.shown != '\0') << anna.all_messages();
        if (found) {
            EXPECT_EQ(anna.window->TXT_DESCRIZIONE.text(), "Uno");
        }
    }
}

CONDPAG_ON_ALL_BACKENDS(CodesAndTexts);

}  // namespace
}  // namespace condpag
