#pragma once
// Several people on one database: each user has a headless host and an editor window of their
// own, and so a connection of their own. What is stored is read through yet another connection.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "storage/connection.h"

namespace condpag {

using Rows = std::vector<std::vector<std::string>>;

class User {
  public:
    explicit User(const std::string& connection_string, int profile = 0) {
        global.SetConnectionString(connection_string);
        global.SetInstallationProfile(profile);
        global.SetMessageObject(&messages);
        host.SetClsGlobal(&global);
        host.SetActiveNavigator(&navigator);
        navigator.SetFormEvents(&events);
        window.SetInterface(&host);
        window.Form_Load();
        window.Form_Activate();
    }

    // Searches a term by its code with the record navigator, as a person does.
    bool go_to(const std::string& code) {
        return window.INTERNAV.user_click("Cerca") && window.TXT_CODICE.user_type(code) &&
               window.INTERNAV.user_click("Trova") && window.TXT_CODICE.text() == code;
    }
    // Confirms the term from the record navigator.
    bool save() { return window.INTERNAV.user_click("Conferma"); }
    bool edit_installment(long row, const std::string& days) {
        return window.GRID_CONDPAG.user_select_row(row) && window.TXT_GGDECOR.user_type(days) &&
               window.GRIDNAV_RATE.user_click("Conferma");
    }
    bool add_language(const std::string& language, const std::string& description) {
        return window.GRIDNAVL.user_click("Nuovo") && window.TXT_CODLINGUA.user_type(language) &&
               window.TXT_DESCRLINGUA.user_type(description) &&
               window.GRIDNAVL.user_click("Conferma");
    }
    // A new term with one installment of 100 % at the given days, not yet saved.
    bool begin_term(const std::string& code, const std::string& description,
                    const std::string& days) {
        return window.INTERNAV.user_click("Nuovo") && window.TXT_CODICE.user_type(code) &&
               window.TXT_DESCRIZIONE.user_type(description) &&
               window.GRIDNAV_RATE.user_click("Nuovo") && window.TXT_GGDECOR.user_type(days) &&
               window.TXT_IMP.user_type("100") && window.TXT_IVA.user_type("100") &&
               window.GRIDNAV_RATE.user_click("Conferma");
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
    FRMCO_CONDPAG window;  // last, so that it unloads before its host goes
};

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

}  // namespace condpag
