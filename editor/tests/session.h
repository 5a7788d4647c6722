#pragma once
// People at the editor: a Desk is a headless host with one editor window, and so a connection of
// its own; a Session is one desk on a fresh demo database. What was stored is read back through
// yet another connection, row by row.

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <thread>
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

// A term's rows in one of its tables ("CG62", "CG63", "CG65" or "CG6B"), the columns given, in
// key order; the code is quoted as a text.
inline std::string term_sql(const std::string& table, const std::string& columns,
                            std::string code) {
    for (size_t at = code.find('\''); at != std::string::npos; at = code.find('\'', at + 2)) {
        code.insert(at, 1, '\'');  // "1'OR'1" unquoted would read ... = '1'OR'1', true for all
    }
    static const std::map<std::string, std::array<std::string, 3>> kTables = {
        {"CG62", {"CG62_CONDPAGDES", "CG62_CODPAG", "CG62_CODPAG"}},
        {"CG63", {"CG63_CONDPAGDET", "CG63_CODPAG_CG62", "CG63_PROG"}},
        {"CG65", {"CG65_PAGSLITANAL", "CG65_CODPAG_CG62", "CG65_DAMMGG"}},
        {"CG6B", {"CG6B_CONDPAGLING", "CG6B_CODICE_CG62", "CG6B_LINGUA_MG52"}}};
    const auto& [name, owner, order] = kTables.at(table);
    return "SELECT " + columns + " FROM " + name + " WHERE " + owner + " = '" + code + "'" +
           (columns.starts_with("COUNT(") ? "" : " ORDER BY " + order);
}

// Statements run on the database as another program would.
inline void run_on(Connection& connection, std::initializer_list<std::string> statements) {
    for (const std::string& sql : statements) {
        ASSERT_TRUE(connection.ExecuteChange(sql).ok()) << sql;
    }
}

// Tests that need the shared PostgreSQL server skip when the machine has none.
#define CONDPAG_SKIP_WITHOUT_POSTGRES()                                                \
    if (auto reason = testing::unavailable_reason(testing::BackendKind::PostgresOdbc); \
        !reason.empty())                                                               \
    GTEST_SKIP() << reason

// MAV30 as stored: description, days of its one installment, count of language descriptions.
inline Rows notice_term(Connection& connection) {
    return stored(connection,
                  "SELECT CG62_DESCPAG, CG63_GGDECOR, (SELECT COUNT(*) FROM CG6B_CONDPAGLING "
                  "WHERE CG6B_CODICE_CG62 = 'MAV30') FROM CG62_CONDPAGDES JOIN CG63_CONDPAGDET "
                  "ON CG63_CODPAG_CG62 = CG62_CODPAG WHERE CG62_CODPAG = 'MAV30'");
}
inline const Rows kNoticeAsShipped{{"MAV 30 gg d.f.", "30", "0"}};
inline const Rows kNoticeChanged{{"Avviso 45 gg", "45", "1"}};  // change_notice_term, saved

// Another program that takes the write lock of a database file, waiting for it at most
// `busy`, and keeps it for `held` in a child process. Returns once the child holds the lock or
// gave up on it.
struct LockHolder {
    pid_t pid = -1;
    bool holds = false;
};
inline LockHolder hold_write_lock(const std::string& file, std::chrono::milliseconds held,
                                  int busy_ms = 0) {
    LockHolder holder;
    int ready[2];
    if (pipe(ready) != 0) return holder;
    holder.pid = fork();
    if (holder.pid == 0) {
        sqlite3* other = nullptr;
        sqlite3_open(file.c_str(), &other);
        sqlite3_busy_timeout(other, busy_ms);
        bool got = sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr) == SQLITE_OK;
        char byte = got ? 'y' : 'n';
        // A failed write leaves the parent reading nothing, which its assertion reports.
        (void)!write(ready[1], &byte, 1);
        if (got) std::this_thread::sleep_for(held);
        sqlite3_close(other);  // rolls the open transaction back
        _exit(0);
    }
    char byte = 0;
    holder.holds = holder.pid > 0 && read(ready[0], &byte, 1) == 1 && byte == 'y';
    close(ready[0]);
    close(ready[1]);
    return holder;
}

// The statement with which an administrator ends the window's session on the server.
inline std::string terminate_session(FRMCO_CONDPAG& window) {
    auto pid = window.WindowConnection().Execute("SELECT pg_backend_pid()");
    EXPECT_TRUE(pid.ok() && !pid->rows.empty());
    if (!pid.ok() || pid->rows.empty()) return "SELECT 0";
    return "SELECT pg_terminate_backend(" + pid->rows[0][0].to_text() + ")";
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
    // Opens the window; a calling program hands it the code it wants.
    FRMCO_CONDPAG& open(const std::string& handed = "") {
        window = std::make_unique<FRMCO_CONDPAG>();
        window->SetComponent(nullptr, [handed] { return handed; });
        window->SetInterface(&host);
        window->Form_Load();
        window->Form_Activate();
        return *window;
    }
    // Opens the window on a stored term, found as a person finds it.
    FRMCO_CONDPAG& open_on(const std::string& code) {
        open();
        EXPECT_TRUE(go_to(code)) << code << ": " << all_messages();
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
    // MAV30 read, then its description, first installment and a new language changed.
    bool change_notice_term() {
        return go_to("MAV30") && window->TXT_DESCRIZIONE.user_type("Avviso 45 gg") &&
               edit_installment(0, "45") && add_language("ENG", "Payment notice");
    }
    // Whether the messages shown so far hold each text.
    void expect_told(std::initializer_list<std::string> texts, bool told = true) const {
        const std::string all = all_messages();
        for (const std::string& text : texts) {
            EXPECT_EQ(all.find(text) != std::string::npos, told) << text << " in: " << all;
        }
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

// A fresh demo database on one backend, and a connection of an administrator's to it.
struct Scratch : testing::DemoDatabase {
    explicit Scratch(testing::BackendKind kind) : DemoDatabase(kind), admin(connect()) {}
    bool ready() const { return ok() && admin.ok(); }
    Expected<Connection> admin;
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
        run_on(*connection, statements);
    }
    Rows term(const std::string& table, const std::string& columns, const std::string& code) {
        return query(term_sql(table, columns, code));
    }
};

}  // namespace condpag
