#pragma once
// People at the editor: a Desk is a headless host with one editor window, and so a connection of
// its own; a Session is one desk on a fresh demo database. What was stored is read back through
// yet another connection, row by row.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "storage/connection.h"
#include "storage/testing/demo_database.h"

namespace condpag {

using Rows = std::vector<std::vector<std::string>>;

// The rows a statement selects, as texts.
inline Rows stored(Connection& connection, const std::string& sql) {
    auto result = connection.Execute(sql);
    EXPECT_TRUE(result.ok()) << (result.ok() ? "" : result.error().message) << " [" << sql << "]";
    Rows rows;
    if (!result) return rows;
    for (const auto& row : result->rows) {
        std::vector<std::string> texts;
        for (const Value& value : row) texts.push_back(value.to_text());
        rows.push_back(std::move(texts));
    }
    return rows;
}

class Desk {
  public:
    explicit Desk(const std::string& connection_string, int profile = 0) {
        global.SetConnectionString(connection_string);
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
    // Searches a term by its code with the record navigator, as a person does.
    bool go_to(const std::string& code) {
        return window->INTERNAV.user_click("Cerca") && window->TXT_CODICE.user_type(code) &&
               window->INTERNAV.user_click("Trova") && window->TXT_CODICE.text() == code;
    }
    bool save() { return window->INTERNAV.user_click("Conferma"); }
    bool edit_installment(long row, const std::string& days) {
        return window->GRID_CONDPAG.user_select_row(row) && window->TXT_GGDECOR.user_type(days) &&
               window->GRIDNAV_RATE.user_click("Conferma");
    }
    // A new installment with its days and both shares in percent, confirmed.
    bool add_installment(const std::string& days, const std::string& share) {
        return window->GRIDNAV_RATE.user_click("Nuovo") && window->TXT_GGDECOR.user_type(days) &&
               window->TXT_IMP.user_type(share) && window->TXT_IVA.user_type(share) &&
               window->GRIDNAV_RATE.user_click("Conferma");
    }
    bool add_language(const std::string& language, const std::string& description) {
        return window->GRIDNAVL.user_click("Nuovo") && window->TXT_CODLINGUA.user_type(language) &&
               window->TXT_DESCRLINGUA.user_type(description) &&
               window->GRIDNAVL.user_click("Conferma");
    }
    // A new term with one installment of 100 % at the given days, not yet saved.
    bool begin_term(const std::string& code, const std::string& description,
                    const std::string& days) {
        return window->INTERNAV.user_click("Nuovo") && window->TXT_CODICE.user_type(code) &&
               window->TXT_DESCRIZIONE.user_type(description) && add_installment(days, "100");
    }
    std::string last_message() const {
        auto texts = messages.texts();
        return texts.empty() ? "" : texts.back();
    }
    // Every message box and error dialog shown so far, joined.
    std::string all_messages() const {
        std::string all;
        for (const ShownMessage& shown : messages.shown) all += shown.text + "\n";
        return all;
    }

    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    HeadlessNavigator navigator;
    HeadlessFormEvents events;
    std::unique_ptr<FRMCO_CONDPAG> window;  // last, so that it unloads before its host goes
};

// A person who has the editor open.
struct User : Desk {
    explicit User(const std::string& connection_string, int profile = 0)
        : Desk(connection_string, profile) {
        open();
    }
};

struct FreshDatabase {
    testing::DemoDatabase db;
};

// One person on a fresh demo database.
class Session : public FreshDatabase, public Desk {
  public:
    explicit Session(int profile = 0) : Desk(db.connection_string(), profile) {
        EXPECT_TRUE(db.ok()) << db.error();
    }
    Rows query(const std::string& sql) {
        auto connection = db.connect();
        EXPECT_TRUE(connection.ok());
        return connection.ok() ? stored(*connection, sql) : Rows{};
    }
    // Statements run on the database as another program would, before the window opens.
    void run(std::initializer_list<std::string> statements) {
        auto connection = db.connect();
        ASSERT_TRUE(connection.ok());
        for (const std::string& sql : statements) {
            ASSERT_TRUE(connection->ExecuteChange(sql).ok()) << sql;
        }
    }
};

}  // namespace condpag
