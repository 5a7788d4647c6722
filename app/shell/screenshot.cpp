#include "app/shell/screenshot.h"

#include <QAction>
#include <QApplication>
#include <QPixmap>
#include <QTimer>
#include <cstdio>
#include <filesystem>

#include "app/shell/host_window.h"
#include "editor/FRMCO_CONDPAG.h"
#include "ui/editor_view.h"
#include "ui/qt_text.h"

namespace condpag::shell {

int take_screenshot(HostWindow& host, const ScreenshotRequest& request) {
    QApplication::processEvents();
    FRMCO_CONDPAG* window = host.component() != nullptr ? host.component()->window() : nullptr;
    if (window == nullptr || host.editor_view() == nullptr) {
        std::fputs("condpag-shell: the window did not open\n", stderr);
        return 1;
    }
    // Move on, as a person would with the toolbar, to a term with more than one installment.
    for (int step = 0; step < 50 && window->GRID_CONDPAG.row_count() < 2; ++step) {
        if (!window->FME_CONDPAGDES.MoveNext()) break;
    }
    if (request.tab > 0 && !window->TabCondPag.user_click(request.tab)) {
        window->TabCondPag.set_tab(request.tab);
    }
    if (request.status == "insert") host.action("Nuovo")->trigger();
    if (request.status == "search") host.action("Cerca")->trigger();
    if (request.percent != 100) {
        host.resize_editor(QSize(ui::EditorView::kDesignWidth, ui::EditorView::kDesignHeight) *
                           (request.percent / 100.0));
    }
    for (int i = 0; i < 5; ++i) QApplication::processEvents();

    QPixmap picture;
    if (!request.dialog.empty()) {
        // The secondary window is modal: it is pictured, then closed, from inside its loop.
        QTimer::singleShot(300, [&picture] {
            if (QWidget* dialog = QApplication::activeModalWidget()) {
                picture = dialog->grab();
                dialog->close();
            }
        });
        if (request.dialog == "generation") {
            window->CMD_GENERA.user_click();
        } else {
            window->ApriSottotipi();
        }
    } else {
        picture = host.grab();
    }
    std::error_code ignored;
    std::filesystem::path path = std::filesystem::absolute(request.path, ignored);
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path(), ignored);
    if (!picture.save(ui::qstr(path.string()), "PNG")) {
        std::fprintf(stderr, "condpag-shell: cannot write %s\n", path.string().c_str());
        return 1;
    }
    std::printf("%s\n", path.string().c_str());
    return 0;
}

}  // namespace condpag::shell
