#include "framework/host_lookups.h"

#include <gtest/gtest.h>

#include "framework/edit_box.h"
#include "framework/form.h"
#include "framework/lookup_runner.h"
#include "storage/testing/demo_database.h"

namespace condpag {
namespace {

TEST(HostLookups, LanguageListAndDecodeRunOnTheDemoDatabase) {
    testing::DemoDatabase db;
    ASSERT_TRUE(db.ok()) << db.error();
    TableLookupService languages(language_table());
    HeadlessLookupRunner runner;  // opens its own connection on the host text
    Form window("FRM_PROVA");
    window.set_lookup_runner(&runner);
    LookupBox code(window, "TXT_CODLINGUA");
    EditBox description(window, "TXT_DCODLINGUA");
    code.StartLookup.connect([&](LookupRequest& request) {
        languages.Prepare();
        request.statement = languages.Statement();
        request.columns = languages.Columns();
        request.title = languages.Title();
        request.host_text = db.connection_string();
    });
    code.StartDecode.connect([&](DecodeRequest& request) {
        request.statement = languages.DecodeStatement(code.text());
        request.targets.push_back({languages.DecodeColumns().front(), &description});
        request.host_text = db.connection_string();
    });

    int items = 0;
    code.AfterItem.connect([&] { ++items; });
    runner.script = {1};
    ASSERT_TRUE(code.user_lookup());
    EXPECT_EQ(items, 1);
    ASSERT_EQ(runner.shown.size(), 1u);
    EXPECT_EQ(runner.shown[0].columns.size(), 2u);
    EXPECT_FALSE(code.text().empty());
    EXPECT_FALSE(description.text().empty());

    // A quote in a typed code neither breaks the statement nor finds anything.
    code.set_text("E'NG");
    EXPECT_EQ(description.text(), "");
    code.set_text("ENG");
    EXPECT_FALSE(description.text().empty());
    runner.script = {std::nullopt};
    EXPECT_FALSE(code.user_lookup());
    EXPECT_EQ(code.text(), "ENG");
    code.enable_lookup(false);
    runner.script = {1};
    EXPECT_FALSE(code.user_lookup());
}

}  // namespace
}  // namespace condpag
