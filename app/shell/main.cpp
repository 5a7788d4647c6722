// condpag-shell: the host shell on the embedded demo database (or another database), optionally
// saving a picture of the editor and leaving.
//   condpag-shell [--db PATH | --connect STRING] [--code CODE] [--profile N] [--screenshot PNG]
//                 [--tab N] [--status view|insert|search]

#include <sys/resource.h>

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTabWidget>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "app/shell/host_window.h"
#include "app/shell/screenshot.h"
#include "editor/FRMCO_CONDPAG.h"
#include "storage/schema.h"
#include "ui/editor_view.h"

namespace {

const char* kUsage =
    "usage: condpag-shell [--db PATH | --connect STRING] [--code CODE] [--profile N]\n"
    "                     [--screenshot FILE.png [--tab N] [--status view|insert|search]]\n"
    "                     [--measure MOVES]\n";

// Milestones of the start, in epoch milliseconds, for --measure.
struct StartTimes {
    long long main_entered = 0;  // after the dynamic loader has mapped Qt
    long long application = 0;   // QApplication built (platform plugin, fonts)
    long long database = 0;      // database opened (and created when missing)
    long long editor = 0;        // component created and its window filled with a term
};

long long now_ms() { return static_cast<long long>(QDateTime::currentMSecsSinceEpoch()); }

// Prints when the first window was painted and the milestones before it (epoch milliseconds,
// for the caller to subtract its own start), the time of each move to the next term with its
// repaint, and the peak memory.
int measure(condpag::shell::HostWindow& host, int moves, const StartTimes& start) {
    condpag::ui::EditorView* view = host.editor_view();
    if (view == nullptr) return 1;
    host.repaint();
    std::printf("main_entered_epoch_ms=%lld\n", start.main_entered);
    std::printf("application_epoch_ms=%lld\n", start.application);
    std::printf("database_epoch_ms=%lld\n", start.database);
    std::printf("editor_epoch_ms=%lld\n", start.editor);
    std::printf("first_paint_epoch_ms=%lld\n", now_ms());
    condpag::DataFrame& header = view->window().FME_CONDPAGDES;
    std::vector<double> times;
    for (int i = 0; i < moves; ++i) {
        QElapsedTimer timer;
        timer.start();
        if (!header.MoveNext()) break;
        QApplication::processEvents();
        view->repaint();
        times.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    if (!times.empty()) {
        double sum = 0;
        for (double t : times) sum += t;
        std::printf("moves=%zu mean_ms=%.2f median_ms=%.2f max_ms=%.2f\n", times.size(),
                    sum / static_cast<double>(times.size()), times[times.size() / 2], times.back());
    }
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak_rss_mb=%.1f\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    StartTimes times;
    times.main_entered = now_ms();
    QApplication app(argc, argv);
    times.application = now_ms();
    QApplication::setApplicationName("condpag-shell");
    condpag::shell::ShellOptions options;
    condpag::shell::ScreenshotRequest shot;
    std::string db = "build/demo.db";
    std::string connect;
    int moves = -1;
    QStringList args = QApplication::arguments();
    // Every option takes one value: each step reads a pair.
    for (int i = 1; i < args.size(); i += 2) {
        QString arg = args[i];
        bool has_value = i + 1 < args.size();
        std::string value = has_value ? args[i + 1].toStdString() : std::string();
        if (arg == "--db" && has_value) {
            db = value;
        } else if (arg == "--connect" && has_value) {
            connect = value;
        } else if (arg == "--code" && has_value) {
            options.code = value;
        } else if (arg == "--profile" && has_value) {
            options.profile = std::stoi(value);
        } else if (arg == "--screenshot" && has_value) {
            shot.path = value;
        } else if (arg == "--tab" && has_value) {
            shot.tab = std::stoi(value);
        } else if (arg == "--status" && has_value) {
            shot.status = value;
        } else if (arg == "--measure" && has_value) {
            moves = std::stoi(value);
        } else if (arg == "--module" && has_value) {
            options.module_path = value;
        } else {
            std::fputs(kUsage, stderr);
            return 2;
        }
    }

    if (!connect.empty()) {
        options.connection_string =
            connect.rfind("odbc:", 0) == 0 || connect.rfind("sqlite:", 0) == 0 ? connect
                                                                               : "odbc:" + connect;
    } else {
        std::error_code ignored;
        std::filesystem::path path = std::filesystem::absolute(db, ignored);
        if (path.has_parent_path())
            std::filesystem::create_directories(path.parent_path(), ignored);
        options.connection_string = "sqlite:" + path.string();
    }
    // A missing demo file is created with its demo data.
    auto opened = condpag::open_database(options.connection_string, true);
    if (!opened) {
        std::fprintf(stderr, "condpag-shell: %s\n", opened.error().message.c_str());
        return 1;
    }
    opened->Close();
    times.database = now_ms();
    if (options.module_path.empty()) {
        QString module =
            QApplication::applicationDirPath() + "/../component/condpag_component_module.so";
        if (QFileInfo::exists(module)) options.module_path = QDir::cleanPath(module).toStdString();
    }

    condpag::shell::HostWindow host(options);
    host.show();
    std::string error = host.open_payment_terms();
    host.fit_to_editor();
    times.editor = now_ms();
    if (!error.empty()) std::fprintf(stderr, "condpag-shell: %s\n", error.c_str());
    if (!shot.path.empty()) return condpag::shell::take_screenshot(host, shot);
    if (moves >= 0) return measure(host, moves, times);
    return QApplication::exec();
}
