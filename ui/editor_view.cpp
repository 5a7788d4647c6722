#include "ui/editor_view.h"

#include <QCheckBox>
#include <QLabel>
#include <QTabWidget>
#include <map>
#include <string>

#include "editor/FRMCO_CONDPAG.h"
#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

// Where each control sits: its container ("" the window, a group box, or a tab page "P0".."P3")
// and its place in pixels inside it. Rows are 26 pixels apart; labels share their field's row.
struct Place {
    const char* name;
    const char* container;
    int x, y, w, h;
};

constexpr int kRow = 22;

// clang-format off
constexpr Place kPlaces[] = {
    {"FRA_TESTATA", "", 4, 2, 852, 108},
    {"LBL_CODICE", "FRA_TESTATA", 10, 22, 48, kRow},
    {"TXT_CODICE", "FRA_TESTATA", 60, 22, 112, kRow},
    {"LBL_DESCRIZIONE", "FRA_TESTATA", 184, 22, 76, kRow},
    {"TXT_DESCRIZIONE", "FRA_TESTATA", 262, 22, 400, kRow},
    {"CHK_DESAUTOM", "FRA_TESTATA", 674, 22, 170, kRow},
    {"LBL_SC1", "FRA_TESTATA", 10, 50, 96, kRow},
    {"TXT_SC1", "FRA_TESTATA", 108, 50, 50, kRow},
    {"LBL_SC2", "FRA_TESTATA", 168, 50, 96, kRow},
    {"TXT_SC2", "FRA_TESTATA", 266, 50, 50, kRow},
    {"LBL_SC3", "FRA_TESTATA", 326, 50, 62, kRow},
    {"TXT_SC3", "FRA_TESTATA", 390, 50, 50, kRow},
    {"LBL_PERCSCART26", "FRA_TESTATA", 450, 50, 106, kRow},
    {"TXT_PERCSCART26", "FRA_TESTATA", 558, 50, 50, kRow},
    {"LBL_SCART26", "FRA_TESTATA", 618, 50, 140, kRow},
    {"TXT_SCART26", "FRA_TESTATA", 760, 50, 82, kRow},
    {"CHK_DISABLEGG", "FRA_TESTATA", 10, 78, 600, kRow},
    {"LBL_STORNOIVA", "FRA_TESTATA", 674, 78, 100, kRow},
    {"CHK_STORNOIVA", "FRA_TESTATA", 776, 78, 24, kRow},

    {"TabCondPag", "", 4, 112, 852, 390},

    {"GRID_CONDPAG", "P0", 4, 4, 838, 100},
    {"FRA_RATA", "P0", 4, 108, 838, 212},
    {"LBL_NUMRATA", "FRA_RATA", 8, 20, 84, kRow},
    {"TXT_NUMRATA", "FRA_RATA", 94, 20, 40, kRow},
    {"LBL_TIPO", "FRA_RATA", 150, 20, 80, kRow},
    {"CMB_TIPO", "FRA_RATA", 232, 20, 190, kRow},
    {"LBL_SOTTOTIPO", "FRA_RATA", 436, 20, 112, kRow},
    {"TXT_SOTTOTIPO", "FRA_RATA", 550, 20, 64, kRow},
    {"TXT_DECODSTIPO", "FRA_RATA", 618, 20, 210, kRow},
    {"LBL_CALENDARIO", "FRA_RATA", 8, 46, 104, kRow},
    {"CMB_CALENDARIO", "FRA_RATA", 114, 46, 120, kRow},
    {"LBL_TIPODECORR", "FRA_RATA", 248, 46, 106, kRow},
    {"CMB_TIPODECORR", "FRA_RATA", 356, 46, 200, kRow},
    {"LBL_GGDECOR", "FRA_RATA", 570, 46, 140, kRow},
    {"TXT_GGDECOR", "FRA_RATA", 712, 46, 50, kRow},
    {"LBL_DATARIF", "FRA_RATA", 8, 72, 130, kRow},
    {"CMB_DATARIF", "FRA_RATA", 140, 72, 270, kRow},
    {"LBL_GGMMFIX", "FRA_RATA", 570, 72, 140, kRow},
    {"TXT_GGMMFIX", "FRA_RATA", 712, 72, 60, kRow},
    {"LBL_FLGFRPERCIMP", "FRA_RATA", 8, 98, 166, kRow},
    {"CMB_FLGFRPERCIMP", "FRA_RATA", 176, 98, 110, kRow},
    {"LBL_IMP", "FRA_RATA", 296, 98, 74, kRow},
    {"TXT_IMP", "FRA_RATA", 372, 98, 70, kRow},
    {"TXT_NUMIMP", "FRA_RATA", 372, 98, 34, kRow},
    {"TXT_DENIMP", "FRA_RATA", 408, 98, 34, kRow},
    {"LBL_FLGFRPERCIVA", "FRA_RATA", 456, 98, 120, kRow},
    {"CMB_FLGFRPERCIVA", "FRA_RATA", 578, 98, 110, kRow},
    {"LBL_IVA", "FRA_RATA", 698, 98, 40, kRow},
    {"TXT_IVA", "FRA_RATA", 740, 98, 70, kRow},
    {"TXT_NUMIVA", "FRA_RATA", 740, 98, 34, kRow},
    {"TXT_DENIVA", "FRA_RATA", 776, 98, 34, kRow},
    {"LBL_TIPOIMPFIX", "FRA_RATA", 8, 124, 150, kRow},
    {"CMB_TIPOIMPFIX", "FRA_RATA", 160, 124, 200, kRow},
    {"LBL_IMPFIX", "FRA_RATA", 376, 124, 96, kRow},
    {"TXT_IMPFIX", "FRA_RATA", 474, 124, 100, kRow},
    {"LBL_INTERVALLO1", "FRA_RATA", 8, 150, 306, kRow},
    {"TXT_DAGGFIX1", "FRA_RATA", 316, 150, 40, kRow},
    {"TXT_AGGFIX1", "FRA_RATA", 360, 150, 40, kRow},
    {"TXT_GGSCADFIX1", "FRA_RATA", 404, 150, 40, kRow},
    {"LBL_INTERVALLO2", "FRA_RATA", 8, 176, 306, kRow},
    {"TXT_DAGGFIX2", "FRA_RATA", 316, 176, 40, kRow},
    {"TXT_AGGFIX2", "FRA_RATA", 360, 176, 40, kRow},
    {"TXT_GGSCADFIX2", "FRA_RATA", 404, 176, 40, kRow},
    {"LBL_TOTALI", "FRA_RATA", 520, 176, 160, kRow},
    {"TXT_TOTIMP", "FRA_RATA", 682, 176, 70, kRow},
    {"TXT_TOTIVA", "FRA_RATA", 756, 176, 70, kRow},
    {"GRIDNAV_RATE", "P0", 4, 326, 480, 28},
    {"CMD_GENERA", "P0", 642, 326, 200, 28},

    {"FRA_DESCANAL", "P1", 4, 4, 838, 350},
    {"LBL_DESCANAL", "FRA_DESCANAL", 12, 24, 300, kRow},
    {"TXT_DESCANAL", "FRA_DESCANAL", 12, 48, 814, 24},

    {"GRID_PERSLIT", "P2", 4, 4, 838, 200},
    {"FRA_PERSLIT", "P2", 4, 208, 838, 112},
    {"LBL_PERSLITDAGGMM", "FRA_PERSLIT", 8, 22, 110, kRow},
    {"TXT_PERSLITDAGGMM", "FRA_PERSLIT", 120, 22, 60, kRow},
    {"LBL_PERSLITAGGMM", "FRA_PERSLIT", 200, 22, 110, kRow},
    {"TXT_PERSLITAGGMM", "FRA_PERSLIT", 312, 22, 60, kRow},
    {"LBL_TIPOSLIT", "FRA_PERSLIT", 8, 50, 110, kRow},
    {"CMB_TIPOSLIT", "FRA_PERSLIT", 120, 50, 420, kRow},
    {"LBL_PERSLITGGMMSCAD", "FRA_PERSLIT", 8, 78, 170, kRow},
    {"TXT_PERSLITGGMMSCAD", "FRA_PERSLIT", 180, 78, 60, kRow},
    {"LBL_PERSLITSLIT", "FRA_PERSLIT", 260, 78, 140, kRow},
    {"TXT_PERSLITSLIT", "FRA_PERSLIT", 402, 78, 50, kRow},
    {"GRIDNAV_PERIODI", "P2", 4, 326, 480, 28},

    {"GRID_LINGUA", "P3", 4, 4, 838, 200},
    {"FRA_LINGUA", "P3", 4, 208, 838, 112},
    {"LBL_CODLINGUA", "FRA_LINGUA", 8, 22, 140, kRow},
    {"TXT_CODLINGUA", "FRA_LINGUA", 150, 22, 90, kRow},
    {"TXT_DCODLINGUA", "FRA_LINGUA", 244, 22, 260, kRow},
    {"LBL_DESCRLINGUA", "FRA_LINGUA", 8, 50, 140, kRow},
    {"TXT_DESCRLINGUA", "FRA_LINGUA", 150, 50, 676, kRow},
    {"LBL_DESCRANALLINGUA", "FRA_LINGUA", 8, 78, 140, kRow},
    {"TXT_DESCRANALLINGUA", "FRA_LINGUA", 150, 78, 676, kRow},
    {"GRIDNAVL", "P3", 4, 326, 480, 28},

    {"INTERNAV", "", 4, 506, 852, 30},
};
// clang-format on

// The tab strip's bar and frame: what its pages lack of its size.
const QSize kTabReserved(6, 30);

}  // namespace

EditorView::EditorView(FRMCO_CONDPAG& window, QWidget* parent)
    : QWidget(parent), window_(&window), binding_(std::make_unique<FormBinding>(window)) {
    setObjectName("FRMCO_CONDPAG");
    setWindowTitle(qstr(window.caption()));
    lookups_ = std::make_unique<QtLookupRunner>(window.WindowConnection(), this);
    window.set_lookup_runner(lookups_.get());
    build();
    resize(kDesignWidth, kDesignHeight);
    setMinimumSize(kDesignWidth / 2, kDesignHeight / 2);
}

EditorView::~EditorView() {
    if (window_->lookup_runner() == lookups_.get()) window_->set_lookup_runner(nullptr);
}

QWidget* EditorView::widget_of(const std::string& name) const {
    return binding_->find(window_->find(name));
}

void EditorView::build() {
    std::map<std::string, QWidget*> containers{{"", this}};
    std::map<std::string, QRect> designs;
    arranger_.add_container(this, QSize(kDesignWidth, kDesignHeight));
    for (const Place& place : kPlaces) {
        QWidget* parent = containers.at(place.container);
        QWidget* widget = binding_->widget(place.name, parent);
        if (widget == nullptr) continue;
        QRect design(place.x, place.y, place.w, place.h);
        designs[place.name] = design;
        arranger_.add(widget, parent, design, 0);
        if (auto* tabs = qobject_cast<QTabWidget*>(widget)) {
            for (int i = 0; i < tabs->count(); ++i) {
                std::string page = "P" + std::to_string(i);
                containers[page] = tabs->widget(i);
                arranger_.add_page(tabs->widget(i), tabs, design.size(), kTabReserved);
            }
        } else if (std::string(place.name).rfind("FRA_", 0) == 0) {
            containers[place.name] = widget;
            arranger_.add_container(widget, design.size());
        }
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        }
        if (auto* check = qobject_cast<QCheckBox*>(widget)) {
            Control* control = window_->find(place.name);
            if (control != nullptr && place.w > 40) check->setText(qstr(control->caption()));
        }
    }
    // Controls placed nowhere above stay out of sight (the layout control has no widget).
    for (Control* control : window_->controls()) {
        if (binding_->find(control) != nullptr) continue;
        if (QWidget* widget = binding_->widget(*control, this)) widget->hide();
    }
}

void EditorView::arrange() {
    for (const LayoutEntry& entry : window_->LAY_CONDPAG.registered()) {
        if (QWidget* widget = binding_->find(entry.control)) arranger_.set_code(widget, entry.code);
    }
    // The window may refuse to follow resizing: everything then keeps its design place.
    if (!window_->LAY_CONDPAG.query_resize()) {
        for (const LayoutEntry& entry : window_->LAY_CONDPAG.registered()) {
            if (QWidget* widget = binding_->find(entry.control)) arranger_.set_code(widget, 0);
        }
    }
    arranger_.arrange();
}

void EditorView::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    arrange();
}

void EditorView::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    arrange();
    binding_->apply_focus();
}

void EditorView::mouseDoubleClickEvent(QMouseEvent* event) {
    QWidget::mouseDoubleClickEvent(event);
    window_->Form_DblClick();
}

}  // namespace condpag::ui
