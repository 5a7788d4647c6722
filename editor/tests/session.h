#pragma once
// A headless host around one editor window on a fresh demo database, and a way to read back
// what the window stored.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "storage/testing/demo_database.h"

namespace condpag {

using Rows = std::vector<std::vector<std::string>>;

class Session {
  public:
    explicit Session(int profile = 0) {
        EXPECT_TRUE(db.ok()) << db.error();
        global.SetConnectionString(db.connection_string());
        global.SetInstallationProfile(profile);
        global.SetMessageObject(&messages);
        host.SetClsGlobal(&global);
        host.SetActiveNavigator(&navigator);
        navigator.SetFormEvents(&events);
    }

    FRMCO_CONDPAG& open() {
        window = std::make_unique<FRMCO_CONDPAG>();
        window->SetInterface(&host);
        window->Form_Load();
        window->Form_Activate();
        return *window;
    }

    // Searches a term by its code, as a person does with the record navigator.
    void go_to(const std::string& code) {
        ASSERT_TRUE(window->INTERNAV.user_click("Cerca"));
        ASSERT_TRUE(window->TXT_CODICE.user_type(code));
        ASSERT_TRUE(window->INTERNAV.user_click("Trova"));
        ASSERT_EQ(window->TXT_CODICE.text(), code);
    }

    Rows query(const std::string& sql) {
        auto connection = db.connect();
        EXPECT_TRUE(connection.ok());
        auto result = connection->Execute(sql);
        EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message);
        Rows rows;
        if (!result) return rows;
        for (const auto& row : result->rows) {
            std::vector<std::string> texts;
            for (const Value& v : row) texts.push_back(v.to_text());
            rows.push_back(texts);
        }
        return rows;
    }

    std::string last_message() const {
        auto texts = messages.texts();
        return texts.empty() ? "" : texts.back();
    }

    testing::DemoDatabase db;
    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    HeadlessNavigator navigator;
    HeadlessFormEvents events;
    std::unique_ptr<FRMCO_CONDPAG> window;
};

}  // namespace condpag
