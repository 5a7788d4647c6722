// condpag_load: several editor sessions in parallel processes against one database, for a
// bounded time; then the figures and an audit of what was stored.
//
//   condpag_load --db CONNECTION [--sessions 20] [--seconds 60]
//
// Each session opens the editor window and, until the time is up, moves through the demo terms,
// creates a term of its own with two installments and saves it, changes the description of a
// term every session shares (so that sessions collide), and deletes its own unused terms. Every
// operation is logged with its outcome; the audit then checks that every save reported as done
// is stored exactly once and every refused one stored nothing.

#include <sys/wait.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/cli/cli_options.h"
#include "editor/FRMCO_CONDPAG.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "storage/schema.h"

namespace condpag {
namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kSharedTerm = "ACC30";
const char* const kBrowsed[] = {"RD", "RD30", "BB30", "BB3060", "RB30FM", "RB369", "IVARB", "CTR"};

struct Options {
    std::string db;
    int sessions = 20;
    int seconds = 60;
    int child = -1;  // index of this session when run as a child
    std::string log_folder;
};

// One editor window on a headless host, as a person at a desk.
class Desk {
  public:
    explicit Desk(const std::string& connection_string) {
        global.SetConnectionString(connection_string);
        global.SetMessageObject(&messages);
        host.SetClsGlobal(&global);
        host.SetActiveNavigator(&navigator);
        navigator.SetFormEvents(&events);
        window = std::make_unique<FRMCO_CONDPAG>();
        window->SetInterface(&host);
        window->Form_Load();
        window->Form_Activate();
    }
    ~Desk() { window.reset(); }
    bool loaded() const { return window->loaded(); }

    bool go_to(const std::string& code) {
        return window->INTERNAV.user_click("Cerca") && window->TXT_CODICE.user_type(code) &&
               window->INTERNAV.user_click("Trova") && window->TXT_CODICE.text() == code;
    }
    // A save or a deletion counts as done only when the window answers success and told the
    // person nothing (the question before a deletion aside).
    bool save() { return command("Conferma"); }
    bool remove() { return command("Elimina"); }
    void undo() { window->INTERNAV.user_click("Annulla"); }
    bool installment(const std::string& days, const std::string& share) {
        FRMCO_CONDPAG& w = *window;
        return w.GRIDNAV_RATE.user_click("Nuovo") && w.TXT_GGDECOR.user_type(days) &&
               w.TXT_IMP.user_type(share) && w.TXT_IVA.user_type(share) &&
               w.GRIDNAV_RATE.user_click("Conferma");
    }

    HeadlessGlobal global;
    HeadlessMessageService messages;
    HeadlessInterface host;
    HeadlessNavigator navigator;
    HeadlessFormEvents events;
    std::unique_ptr<FRMCO_CONDPAG> window;

  private:
    bool command(const std::string& key) {
        size_t before = messages.shown.size();
        bool ok = window->INTERNAV.user_click(key);
        for (size_t i = before; i < messages.shown.size(); ++i) {
            if (StyleIcon(messages.shown[i].style) != kStyleQuestion) ok = false;
        }
        return ok;
    }
};

std::string own_code(int session, int counter) {
    const char* digits = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    std::string code = {'L', digits[session / 36 % 36], digits[session % 36]};
    for (int i = 0, n = counter; i < 3; ++i, n /= 36) code.insert(3, 1, digits[n % 36]);
    return code;
}

// One session's loop. Each line of its log: kind outcome microseconds subject.
int run_session(const Options& options) {
    std::ofstream log(options.log_folder + "/session-" + std::to_string(options.child) + ".log");
    std::mt19937 random(static_cast<unsigned>(options.child * 7919 + 17));
    const auto end = Clock::now() + std::chrono::seconds(options.seconds);
    // What the windows said about refused operations goes to the session's message file.
    std::ofstream said(options.log_folder + "/session-" + std::to_string(options.child) + ".said");
    std::unique_ptr<Desk> desk;
    auto timed = [&](const char* kind, const std::string& subject, auto&& action) {
        const StatementCounts before =
            desk ? desk->window->WindowConnection().Counts() : StatementCounts{};
        auto start = Clock::now();
        bool ok = action();
        auto micros =
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - start).count();
        // What the operation asked of the database (a session the window opened anew for it
        // counts from zero).
        StatementCounts after = desk ? desk->window->WindowConnection().Counts() : before;
        if (after.statements < before.statements) after = StatementCounts{};
        auto us = [](std::chrono::nanoseconds time) {
            return std::chrono::duration_cast<std::chrono::microseconds>(time).count();
        };
        if (!ok && desk) {
            for (const auto& shown : desk->messages.shown) {
                if (StyleIcon(shown.style) != kStyleQuestion) said << shown.text << '\n';
            }
            desk->messages.shown.clear();
        }
        log << kind << ' ' << (ok ? "ok" : "refused") << ' ' << micros << ' ' << subject << ' '
            << after.statements - before.statements << ' ' << after.prepared - before.prepared
            << ' ' << us(after.prepare_time - before.prepare_time) << ' '
            << us(after.execute_time - before.execute_time) << ' '
            << after.lock_waits - before.lock_waits << ' '
            << us(after.lock_wait_time - before.lock_wait_time) << '\n';
        return ok;
    };
    desk = std::make_unique<Desk>(options.db);
    timed("open", "-", [&] { return desk->loaded(); });
    std::vector<std::string> mine;  // own terms stored and not yet deleted
    int counter = 0, shared = 0;
    while (Clock::now() < end && counter < 36 * 36 * 36) {
        if (!desk->loaded()) {
            // The window could not load (the database was busy): it is opened again.
            desk.reset();
            desk = std::make_unique<Desk>(options.db);
            timed("open", "-", [&] { return desk->loaded(); });
            continue;
        }
        switch (random() % 4) {
            case 0: {
                const std::string code = kBrowsed[random() % std::size(kBrowsed)];
                if (!timed("move", code, [&] { return desk->go_to(code); })) desk->undo();
                break;
            }
            case 1: {
                const std::string code = own_code(options.child, counter++);
                FRMCO_CONDPAG& w = *desk->window;
                bool begun = w.INTERNAV.user_click("Nuovo") && w.TXT_CODICE.user_type(code) &&
                             w.TXT_DESCRIZIONE.user_type("Carico " + code) &&
                             desk->installment("30", "50") && desk->installment("60", "50");
                if (!begun) {
                    desk->undo();
                    break;
                }
                // A refused save keeps its rows pending: a person saves once more.
                if (timed("save", code, [&] { return desk->save(); }) ||
                    timed("resave", code, [&] { return desk->save(); })) {
                    mine.push_back(code);
                } else {
                    desk->undo();
                }
                break;
            }
            case 2: {
                if (!desk->go_to(kSharedTerm)) break;
                std::string text = "S";  // appended: "S" + temporary trips GCC bug 105651
                text += std::to_string(options.child);
                text += '-';
                text += std::to_string(shared++);
                if (!desk->window->TXT_DESCRIZIONE.user_type(text)) break;
                if (!timed("change", text, [&] { return desk->save(); })) {
                    // Changed by someone else: the term is read again by opening the window.
                    desk->undo();
                    desk.reset();
                    desk = std::make_unique<Desk>(options.db);
                    timed("open", "-", [&] { return desk->loaded(); });
                }
                break;
            }
            default: {
                if (mine.empty()) break;
                const std::string code = mine.front();
                if (!desk->go_to(code)) break;
                if (timed("delete", code, [&] { return desk->remove(); })) {
                    mine.erase(mine.begin());
                } else {
                    desk->undo();
                }
                break;
            }
        }
    }
    return 0;
}

struct Entry {
    std::string kind, outcome, subject;
    long long micros = 0;
    // What the operation asked of the database: statements, of them prepared anew, microseconds
    // preparing and running them, lock waits and their microseconds.
    long long statements = 0, prepared = 0, prepare_us = 0, execute_us = 0, lock_waits = 0,
              lock_us = 0;
};

long long percentile(std::vector<long long> values, double p) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    size_t index = static_cast<size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
    return values[std::min(index, values.size() - 1)];
}

long long count_of(Connection& connection, const std::string& sql) {
    auto result = connection.Execute(sql);
    if (!result || result->rows.empty()) return -1;
    return static_cast<long long>(CDecN(result->rows[0][0]));
}

int run_parent(const Options& options, const char* self) {
    {
        auto database = open_database(options.db, true);
        if (!database) {
            std::cerr << "cannot open the database: " << database.error().message << '\n';
            return 2;
        }
        // Terms of an earlier run go, so that the audit sees this run only.
        for (const char* sql : {"DELETE FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 LIKE 'L%'",
                                "DELETE FROM CG62_CONDPAGDES WHERE CG62_CODPAG LIKE 'L%'"}) {
            if (auto cleared = database->ExecuteChange(sql); !cleared) {
                std::cerr << "cannot clear an earlier run: " << cleared.error().message << '\n';
                return 2;
            }
        }
    }
    std::vector<pid_t> children;
    const auto start = Clock::now();
    for (int i = 0; i < options.sessions; ++i) {
        pid_t pid = fork();
        if (pid == 0) {
            std::string index = std::to_string(i), seconds = std::to_string(options.seconds);
            execl(self, self, "--db", options.db.c_str(), "--seconds", seconds.c_str(), "--child",
                  index.c_str(), "--logs", options.log_folder.c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        if (pid > 0) children.push_back(pid);
    }
    int failed_sessions = 0;
    for (pid_t pid : children) {
        int status = 0;
        waitpid(pid, &status, 0);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) ++failed_sessions;
    }
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();

    std::vector<Entry> entries;
    for (int i = 0; i < options.sessions; ++i) {
        std::ifstream in(options.log_folder + "/session-" + std::to_string(i) + ".log");
        for (std::string line; std::getline(in, line);) {
            std::istringstream fields(line);
            Entry e;
            if (fields >> e.kind >> e.outcome >> e.micros >> e.subject) {
                fields >> e.statements >> e.prepared >> e.prepare_us >> e.execute_us >>
                    e.lock_waits >> e.lock_us;
                entries.push_back(e);
            }
        }
    }
    std::map<std::string, int> messages;
    for (int i = 0; i < options.sessions; ++i) {
        std::ifstream in(options.log_folder + "/session-" + std::to_string(i) + ".said");
        for (std::string line; std::getline(in, line);) {
            if (!line.empty()) ++messages[line.substr(0, 160)];
        }
    }
    std::map<std::string, std::pair<int, int>> by_kind;  // ok, refused
    std::vector<long long> save_latency, statements, prepared, prepare_us, execute_us, lock_waits,
        lock_us;
    for (const Entry& e : entries) {
        auto& counts = by_kind[e.kind];
        (e.outcome == "ok" ? counts.first : counts.second)++;
        if (e.kind == "save" || e.kind == "change") save_latency.push_back(e.micros);
        if ((e.kind == "save" || e.kind == "change") && e.outcome == "ok") {
            statements.push_back(e.statements);
            prepared.push_back(e.prepared);
            prepare_us.push_back(e.prepare_us);
            execute_us.push_back(e.execute_us);
            lock_waits.push_back(e.lock_waits);
            lock_us.push_back(e.lock_us);
        }
    }

    // The audit, through a connection of its own.
    auto database = open_database(options.db, false);
    if (!database) {
        std::cerr << "cannot open the database for the audit\n";
        return 2;
    }
    std::set<std::string> saved, refused, deleted, deletes_refused;
    std::set<std::string> changes_done, changes_refused;
    for (const Entry& e : entries) {
        const bool ok = e.outcome == "ok";
        if (e.kind == "save" || e.kind == "resave") (ok ? saved : refused).insert(e.subject);
        if (e.kind == "delete") (ok ? deleted : deletes_refused).insert(e.subject);
        if (e.kind == "change") (ok ? changes_done : changes_refused).insert(e.subject);
    }
    for (const std::string& code : saved) refused.erase(code);  // the second save went through
    auto rows_of = [&](const std::string& code) {
        return std::pair{
            count_of(*database,
                     "SELECT COUNT(*) FROM CG62_CONDPAGDES WHERE CG62_CODPAG = '" + code + "'"),
            count_of(*database, "SELECT COUNT(*) FROM CG63_CONDPAGDET WHERE CG63_CODPAG_CG62 = '" +
                                    code + "'")};
    };
    // Saves: reported done means one header and its two installments (unless deleted since);
    // refused means nothing at all.
    int lost = 0, duplicated = 0, leftovers = 0;
    // Deletions: reported done means nothing left; a refused one that removed part of a term.
    int undeleted = 0, orphans = 0, part_deleted = 0;
    for (const std::string& code : saved) {
        auto [headers, details] = rows_of(code);
        if (deleted.count(code)) {
            if (headers != 0) ++undeleted;
            if (headers == 0 && details != 0) ++orphans;
        } else if (deletes_refused.count(code) && (headers != 1 || details != 2)) {
            ++part_deleted;
        } else if (headers == 0 || details < 2) {
            ++lost;
            std::printf("  lost %s: %lld header, %lld installments; logged:", code.c_str(), headers,
                        details);
            for (const Entry& e : entries) {
                if (e.subject == code) std::printf(" %s %s", e.kind.c_str(), e.outcome.c_str());
            }
            std::printf("\n");
        } else if (headers > 1 || details > 2) {
            ++duplicated;
        }
    }
    for (const std::string& code : refused) {
        auto [headers, details] = rows_of(code);
        if (headers != 0 || details != 0) ++leftovers;
    }
    std::string shared_text;
    if (auto result = database->Execute(std::string("SELECT CG62_DESCPAG FROM CG62_CONDPAGDES "
                                                    "WHERE CG62_CODPAG = '") +
                                        kSharedTerm + "'");
        result && !result->rows.empty()) {
        shared_text = result->rows[0][0].to_text();
    }
    bool shared_ok = changes_done.empty() ? true : changes_done.count(shared_text) == 1;
    bool shared_refused_stored = changes_refused.count(shared_text) == 1;

    std::printf("sessions %d (failed %d), %.1f s\n", options.sessions, failed_sessions, elapsed);
    long long total = 0;
    for (const auto& [kind, counts] : by_kind) {
        std::printf("  %-7s %6d done %6d refused\n", kind.c_str(), counts.first, counts.second);
        total += counts.first + counts.second;
    }
    std::printf("operations per second: %.1f\n", static_cast<double>(total) / elapsed);
    std::printf("save latency: median %.1f ms, 99th percentile %.1f ms (%zu saves)\n",
                static_cast<double>(percentile(save_latency, 0.5)) / 1000.0,
                static_cast<double>(percentile(save_latency, 0.99)) / 1000.0, save_latency.size());
    // Where the time of a save goes (saves done, medians; new terms and shared changes alike).
    auto median = [](const std::vector<long long>& values) { return percentile(values, 0.5); };
    std::printf(
        "per save: %lld statements, %lld of them prepared anew (every one before statements "
        "were kept), %.2f ms preparing, %.2f ms running, %lld lock waits (%.2f ms; 99th "
        "percentile %.1f ms)\n",
        median(statements), median(prepared), static_cast<double>(median(prepare_us)) / 1000.0,
        static_cast<double>(median(execute_us)) / 1000.0, median(lock_waits),
        static_cast<double>(median(lock_us)) / 1000.0,
        static_cast<double>(percentile(lock_us, 0.99)) / 1000.0);
    std::printf(
        "save audit: %zu saves reported done: %d lost, %d stored twice; %zu refused: %d left "
        "rows behind; shared term holds a done change: %s, a refused one: %s\n",
        saved.size(), lost, duplicated, refused.size(), leftovers, shared_ok ? "yes" : "NO",
        shared_refused_stored ? "YES" : "no");
    std::printf(
        "deletion audit: %zu reported done: %d headers still there, %d left installments "
        "without header; %zu refused: %d removed part of the term\n",
        deleted.size(), undeleted, orphans, deletes_refused.size(), part_deleted);
    for (const auto& [text, count] : messages)
        std::printf("  said %5d x %s\n", count, text.c_str());
    bool saves_clean = failed_sessions == 0 && lost == 0 && duplicated == 0 && leftovers == 0 &&
                       shared_ok && !shared_refused_stored;
    bool deletions_clean = undeleted == 0 && orphans == 0 && part_deleted == 0;
    std::printf("save audit %s, deletion audit %s\n", saves_clean ? "passed" : "FAILED",
                deletions_clean ? "passed" : "FAILED");
    bool clean = saves_clean && deletions_clean;
    return clean ? 0 : 1;
}

}  // namespace
}  // namespace condpag

int main(int argc, char** argv) {
    condpag::Options options;
    CLI::App app{"condpag_load: parallel editor sessions against one database"};
    condpag::cli::speak_italian_on_parse_errors(app);
    app.add_option("--db", options.db, "connection string or SQLite file")->required();
    app.add_option("--sessions", options.sessions, "sessions in parallel")
        ->check(CLI::Range(1, 1000));
    app.add_option("--seconds", options.seconds, "how long the sessions run")
        ->check(CLI::Range(1, 3600));
    // How the tool runs itself once per session.
    app.add_option("--child", options.child)->group("");
    app.add_option("--logs", options.log_folder)->group("");
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        return app.exit(error) == 0 ? 0 : 2;
    }
    if (options.child >= 0) return condpag::run_session(options);
    std::string folder = (std::filesystem::temp_directory_path() / "condpag-load-XXXXXX").string();
    if (mkdtemp(folder.data()) == nullptr) return 2;
    options.log_folder = folder;
    int result = condpag::run_parent(options, "/proc/self/exe");
    std::filesystem::remove_all(folder);
    return result;
}
