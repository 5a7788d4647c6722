// condpag-shell: the host shell on the embedded demo database (or another database), optionally
// saving a picture of the editor and leaving.
//   condpag-shell [--db PATH | --connect STRING] [--demo] [--code CODE] [--profile N]
//                 [--screenshot PNG] [--tab N] [--status view|insert|search] [--percent N]
//                 [--dialog generation|subtypes] [--measure MOVES] [--help]

#include <sys/resource.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileInfo>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "app/shell/host_window.h"
#include "app/shell/screenshot.h"
#include "editor/FRMCO_CONDPAG.h"
#include "storage/schema.h"
#include "ui/editor_view.h"

namespace {

const char* kUsage =
    "uso: condpag-shell [--db PERCORSO | --connect STRINGA] [--demo] [--code CODICE] [--profile "
    "N]\n"
    "                   [--screenshot FILE.png [--tab 0-3] [--status view|insert|search]\n"
    "                    [--percent N] [--dialog generation|subtypes]]\n"
    "                   [--measure SPOSTAMENTI] [--help]\n"
    "  --demo  crea il database dimostrativo in PERCORSO (build/demo.db senza --db) se non\n"
    "          esiste; senza --demo il database deve esistere e contenere le condizioni di\n"
    "          pagamento\n";

constexpr int kLastTab = 3;  // installments, other data, shift periods, languages

// Milestones of the start, in epoch milliseconds, for --measure.
struct StartTimes {
    long long main_entered = 0;  // after the dynamic loader has mapped Qt
    long long application = 0;   // QApplication built (platform plugin, fonts)
    long long database = 0;      // database opened (and created when missing)
    long long editor = 0;        // component created and its window filled with a term
};

long long now_ms() { return static_cast<long long>(QDateTime::currentMSecsSinceEpoch()); }

// Counts the widgets painted, so that a move is timed until what it changed is on screen.
class PaintCounter : public QObject {
  public:
    long paints = 0;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint) ++paints;
        return QObject::eventFilter(watched, event);
    }
};

// Runs what a move left queued (the views' reloads, the preview) and the repaint of what it
// marked changed, as the event loop would before the person sees the next term.
void settle(const PaintCounter& counter) {
    for (int pass = 0; pass < 8; ++pass) {
        long before = counter.paints;
        QApplication::processEvents();
        if (pass > 0 && counter.paints == before) break;
    }
}

struct MoveTimes {
    std::vector<double> ms;
    long paints = 0;
};

void print_moves(const char* prefix, MoveTimes moves) {
    std::vector<double>& times = moves.ms;
    if (times.empty()) return;
    std::sort(times.begin(), times.end());
    double sum = 0;
    for (double t : times) sum += t;
    std::printf(
        "%smoves=%zu mean_ms=%.2f median_ms=%.2f max_ms=%.2f widgets_painted_per_move=%.1f\n",
        prefix, times.size(), sum / static_cast<double>(times.size()), times[times.size() / 2],
        times.back(), static_cast<double>(moves.paints) / static_cast<double>(times.size()));
}

// Prints when the first window was painted and the milestones before it (epoch milliseconds,
// for the caller to subtract its own start), the time of each move to the next term until what
// it changed is painted (from the last term the window goes back to the first, untimed), the
// same moves with the whole window painted again after each (the figure measured before views
// repainted only what changed), and the peak memory.
int measure(condpag::shell::HostWindow& host, int moves, const StartTimes& start) {
    condpag::ui::EditorView* view = host.editor_view();
    if (view == nullptr) return 1;
    PaintCounter counter;
    QApplication::instance()->installEventFilter(&counter);
    host.repaint();
    settle(counter);
    std::printf("main_entered_epoch_ms=%lld\n", start.main_entered);
    std::printf("application_epoch_ms=%lld\n", start.application);
    std::printf("database_epoch_ms=%lld\n", start.database);
    std::printf("editor_epoch_ms=%lld\n", start.editor);
    std::printf("first_paint_epoch_ms=%lld\n", now_ms());
    condpag::DataFrame& header = view->window().FME_CONDPAGDES;
    for (bool whole : {false, true}) {
        MoveTimes times;
        for (int i = 0; i < moves; ++i) {
            long before = counter.paints;
            QElapsedTimer timer;
            timer.start();
            if (!header.MoveNext()) {
                // At the last term: back to the first, untimed, and on again.
                if (i == 0 || !header.MoveFirst()) break;
                settle(counter);
                --i;
                continue;
            }
            settle(counter);
            if (whole) view->repaint();
            times.ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
            times.paints += counter.paints - before;
        }
        print_moves(whole ? "whole_window_" : "", std::move(times));
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb=%.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

// The options of one run, or why the command line was refused.
struct Options {
    condpag::shell::ShellOptions shell;
    condpag::shell::ScreenshotRequest shot;
    std::string database;  // a path or a connection string
    bool demo = false;
    bool help = false;
    int moves = -1;
};

// What the parser refused, in Italian: it knows no other language without translation files.
std::string italian_parse_error(const QCommandLineParser& parser) {
    if (!parser.unknownOptionNames().isEmpty()) {
        return "opzione sconosciuta: " + parser.unknownOptionNames().first().toStdString();
    }
    const QString english = parser.errorText();
    const QString option = english.section('\'', 1, 1);
    if (english.startsWith("Missing value")) return option.toStdString() + ": manca il valore";
    if (english.startsWith("Unexpected value")) {
        return option.toStdString() + ": non accetta un valore";
    }
    return "opzioni non valide: " + english.toStdString();
}

// A whole number in [low, high], or nothing.
std::optional<int> whole_number(const QString& text, int low, int high) {
    bool ok = false;
    int value = text.toInt(&ok);
    if (!ok || value < low || value > high) return std::nullopt;
    return value;
}

std::optional<Options> parse_options(const QStringList& args, std::string& why) {
    QCommandLineParser parser;
    QCommandLineOption db("db", "", "PATH"), connect("connect", "", "STRING"), demo("demo"),
        code("code", "", "CODE"), profile("profile", "", "N"), screenshot("screenshot", "", "PNG"),
        tab("tab", "", "N"), status("status", "", "STATUS"), measure("measure", "", "MOVES"),
        module("module", "", "PATH"), percent("percent", "", "N"), dialog("dialog", "", "NAME"),
        help(QStringList{"h", "help"});
    parser.addOptions({db, connect, demo, code, profile, screenshot, tab, status, measure, module,
                       percent, dialog, help});
    if (!parser.parse(args)) {
        why = italian_parse_error(parser);
        return std::nullopt;
    }
    if (parser.isSet(help)) {
        Options options;
        options.help = true;
        return options;
    }
    if (!parser.positionalArguments().isEmpty()) {
        why = "argomento non previsto: " + parser.positionalArguments().first().toStdString();
        return std::nullopt;
    }
    Options options;
    if (parser.isSet(db) && parser.isSet(connect)) {
        why = "--db e --connect non vanno insieme";
        return std::nullopt;
    }
    options.demo = parser.isSet(demo);
    if (parser.isSet(connect)) {
        std::string text = parser.value(connect).toStdString();
        options.shell.connection_string =
            text.rfind("odbc:", 0) == 0 || text.rfind("sqlite:", 0) == 0 ? text : "odbc:" + text;
    } else {
        std::string path = parser.isSet(db) ? parser.value(db).toStdString() : "build/demo.db";
        std::error_code ignored;
        options.shell.connection_string =
            "sqlite:" + std::filesystem::absolute(path, ignored).string();
    }
    options.shell.code = parser.value(code).toStdString();
    options.shell.module_path = parser.value(module).toStdString();
    if (parser.isSet(profile)) {
        auto value = whole_number(parser.value(profile), std::numeric_limits<int>::min(),
                                  std::numeric_limits<int>::max());
        if (!value) {
            why = "--profile vuole un numero intero, non '" + parser.value(profile).toStdString() +
                  "'";
            return std::nullopt;
        }
        options.shell.profile = *value;
    }
    options.shot.path = parser.value(screenshot).toStdString();
    if (parser.isSet(tab)) {
        auto value = whole_number(parser.value(tab), 0, kLastTab);
        if (!value) {
            why = "--tab vuole un numero da 0 a " + std::to_string(kLastTab) + ", non '" +
                  parser.value(tab).toStdString() + "'";
            return std::nullopt;
        }
        options.shot.tab = *value;
    }
    if (parser.isSet(status)) {
        options.shot.status = parser.value(status).toStdString();
        if (options.shot.status != "view" && options.shot.status != "insert" &&
            options.shot.status != "search") {
            why = "--status vuole view, insert o search";
            return std::nullopt;
        }
    }
    if (parser.isSet(percent)) {
        auto value = whole_number(parser.value(percent), 10, 400);
        if (!value) {
            why = "--percent vuole un numero da 10 a 400";
            return std::nullopt;
        }
        options.shot.percent = *value;
    }
    if (parser.isSet(dialog)) {
        options.shot.dialog = parser.value(dialog).toStdString();
        if (options.shot.dialog != "generation" && options.shot.dialog != "subtypes") {
            why = "--dialog vuole generation o subtypes";
            return std::nullopt;
        }
    }
    if (parser.isSet(measure)) {
        auto value = whole_number(parser.value(measure), 0, std::numeric_limits<int>::max());
        if (!value) {
            why = "--measure vuole un numero di spostamenti";
            return std::nullopt;
        }
        options.moves = *value;
    }
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    StartTimes times;
    times.main_entered = now_ms();
    QApplication app(argc, argv);
    times.application = now_ms();
    QApplication::setApplicationName("condpag-shell");
    std::string why;
    std::optional<Options> parsed = parse_options(QApplication::arguments(), why);
    if (!parsed) {
        std::fprintf(stderr, "condpag-shell: %s\n%s", why.c_str(), kUsage);
        return 2;
    }
    Options& options = *parsed;
    if (options.help) {
        std::fputs(kUsage, stdout);
        return 0;
    }

    // Only --demo makes a database, and only where there is none yet; any other database must
    // already hold the payment terms, and nothing is written into one that does not.
    auto opened = condpag::open_database(
        options.shell.connection_string,
        options.demo ? condpag::OpenMode::CreateDemoWhenMissing : condpag::OpenMode::Existing);
    if (!opened) {
        std::fprintf(stderr, "condpag-shell: %s\n", opened.error().message.c_str());
        if (!options.demo) {
            std::fputs("condpag-shell: per creare il database dimostrativo usare --demo\n", stderr);
        }
        return 1;
    }
    opened->Close();
    times.database = now_ms();
    if (options.shell.module_path.empty()) {
        QString module =
            QApplication::applicationDirPath() + "/../component/condpag_component_module.so";
        if (QFileInfo::exists(module)) {
            options.shell.module_path = QDir::cleanPath(module).toStdString();
        }
    }

    condpag::shell::HostWindow host(options.shell);
    host.show();
    std::string error = host.open_payment_terms();
    host.fit_to_editor();
    times.editor = now_ms();
    if (!error.empty()) std::fprintf(stderr, "condpag-shell: %s\n", error.c_str());
    if (!options.shot.path.empty()) return condpag::shell::take_screenshot(host, options.shot);
    if (options.moves >= 0) return measure(host, options.moves, times);
    return QApplication::exec();
}
