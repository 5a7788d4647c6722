#include "ui/editor_view.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QTabWidget>
#include <map>
#include <string>

#include "editor/FRMCO_CONDPAG.h"
#include "ui/qt_text.h"

namespace condpag::ui {
namespace {

// Where each control sits: its container ("" the window, a group box, or a tab page "P0".."P3")
// and its place in pixels inside it. Fields and their labels share rows kPitch apart, the first
// just under the group box's title; the first column of fields starts at the same x in a box.
struct Place {
    const char* name;
    const char* container;
    int x, y, w, h;
};

constexpr int kRow = 22;    // the height of a line edit or a choice list
constexpr int kPitch = 24;  // rows of fields, top to top
constexpr int kTitle = 19;  // a group box's title, above its first row
constexpr int kBar = 24;    // navigators and buttons
constexpr int row(int n) { return kTitle + n * kPitch; }

// The header and the tab strip span the window, 4 pixels in from each side; the record
// navigator sits at its bottom, the tab strip fills what is between.
constexpr int kWide = EditorView::kDesignWidth - 8;
constexpr int kNavigatorTop = EditorView::kDesignHeight - kBar - 2;
constexpr int kTabTop = 97;
constexpr int kTabHeight = kNavigatorTop - 2 - kTabTop;
// The tab strip's bar and frame: what its pages lack of its size.
constexpr int kTabBarWidth = 4;
constexpr int kTabBarHeight = 27;
// On a page: what spans it, and the row of the grid navigator at its bottom.
constexpr int kPageWide = kWide - kTabBarWidth - 8;
constexpr int kPageBar = kTabHeight - kTabBarHeight - kBar - 3;

// clang-format off
constexpr Place kPlaces[] = {
    {"FRA_TESTATA", "", 4, 1, kWide, 93},
    {"LBL_CODICE", "FRA_TESTATA", 8, row(0), 40, kRow},
    {"TXT_CODICE", "FRA_TESTATA", 50, row(0), 100, kRow},
    {"LBL_DESCRIZIONE", "FRA_TESTATA", 162, row(0), 68, kRow},
    {"TXT_DESCRIZIONE", "FRA_TESTATA", 232, row(0), 380, kRow},
    {"CHK_DESAUTOM", "FRA_TESTATA", 626, row(0), 146, kRow},
    {"LBL_SC1", "FRA_TESTATA", 8, row(1), 88, kRow},
    {"TXT_SC1", "FRA_TESTATA", 98, row(1), 40, kRow},
    {"LBL_SC2", "FRA_TESTATA", 150, row(1), 88, kRow},
    {"TXT_SC2", "FRA_TESTATA", 240, row(1), 40, kRow},
    {"LBL_SC3", "FRA_TESTATA", 292, row(1), 54, kRow},
    {"TXT_SC3", "FRA_TESTATA", 348, row(1), 40, kRow},
    {"LBL_PERCSCART26", "FRA_TESTATA", 400, row(1), 90, kRow},
    {"TXT_PERCSCART26", "FRA_TESTATA", 492, row(1), 40, kRow},
    {"LBL_SCART26", "FRA_TESTATA", 554, row(1), 126, kRow},
    {"TXT_SCART26", "FRA_TESTATA", 682, row(1), 90, kRow},
    {"CHK_DISABLEGG", "FRA_TESTATA", 8, row(2), 560, kRow},
    {"LBL_STORNOIVA", "FRA_TESTATA", 626, row(2), 90, kRow},
    {"CHK_STORNOIVA", "FRA_TESTATA", 718, row(2), 20, kRow},

    {"TabCondPag", "", 4, kTabTop, kWide, kTabHeight},

    {"GRID_CONDPAG", "P0", 4, 4, kPageWide, 115},
    {"FRA_RATA", "P0", 4, 122, kPageWide, 165},
    {"LBL_NUMRATA", "FRA_RATA", 8, row(0), 140, kRow},
    {"TXT_NUMRATA", "FRA_RATA", 150, row(0), 36, kRow},
    {"LBL_TIPO", "FRA_RATA", 200, row(0), 72, kRow},
    {"CMB_TIPO", "FRA_RATA", 274, row(0), 150, kRow},
    {"LBL_SOTTOTIPO", "FRA_RATA", 436, row(0), 102, kRow},
    {"TXT_SOTTOTIPO", "FRA_RATA", 540, row(0), 124, kRow},
    {"TXT_DECODSTIPO", "FRA_RATA", 668, row(0), 90, kRow},
    {"LBL_CALENDARIO", "FRA_RATA", 8, row(1), 140, kRow},
    {"CMB_CALENDARIO", "FRA_RATA", 150, row(1), 110, kRow},
    {"LBL_TIPODECORR", "FRA_RATA", 274, row(1), 90, kRow},
    {"CMB_TIPODECORR", "FRA_RATA", 366, row(1), 180, kRow},
    {"LBL_GGDECOR", "FRA_RATA", 560, row(1), 120, kRow},
    {"TXT_GGDECOR", "FRA_RATA", 682, row(1), 44, kRow},
    {"LBL_DATARIF", "FRA_RATA", 8, row(2), 140, kRow},
    {"CMB_DATARIF", "FRA_RATA", 150, row(2), 240, kRow},
    {"LBL_GGMMFIX", "FRA_RATA", 560, row(2), 120, kRow},
    {"TXT_GGMMFIX", "FRA_RATA", 682, row(2), 56, kRow},
    {"LBL_FLGFRPERCIMP", "FRA_RATA", 8, row(3), 140, kRow},
    {"CMB_FLGFRPERCIMP", "FRA_RATA", 150, row(3), 110, kRow},
    {"LBL_IMP", "FRA_RATA", 274, row(3), 62, kRow},
    {"TXT_IMP", "FRA_RATA", 366, row(3), 56, kRow},
    {"TXT_NUMIMP", "FRA_RATA", 366, row(3), 27, kRow},
    {"TXT_DENIMP", "FRA_RATA", 395, row(3), 27, kRow},
    {"LBL_FLGFRPERCIVA", "FRA_RATA", 436, row(3), 104, kRow},
    {"CMB_FLGFRPERCIVA", "FRA_RATA", 542, row(3), 100, kRow},
    {"LBL_IVA", "FRA_RATA", 652, row(3), 28, kRow},
    {"TXT_IVA", "FRA_RATA", 682, row(3), 56, kRow},
    {"TXT_NUMIVA", "FRA_RATA", 682, row(3), 27, kRow},
    {"TXT_DENIVA", "FRA_RATA", 711, row(3), 27, kRow},
    {"LBL_TIPOIMPFIX", "FRA_RATA", 8, row(4), 140, kRow},
    {"CMB_TIPOIMPFIX", "FRA_RATA", 150, row(4), 190, kRow},
    {"LBL_IMPFIX", "FRA_RATA", 354, row(4), 76, kRow},
    {"TXT_IMPFIX", "FRA_RATA", 432, row(4), 84, kRow},
    {"LBL_TOTALI", "FRA_RATA", 520, row(4), 123, kRow},
    {"TXT_TOTIMP", "FRA_RATA", 644, row(4), 56, kRow},
    {"TXT_TOTIVA", "FRA_RATA", 702, row(4), 56, kRow},
    {"LBL_INTERVALLO1", "FRA_RATA", 8, row(5), 252, kRow},
    {"TXT_DAGGFIX1", "FRA_RATA", 262, row(5), 34, kRow},
    {"TXT_AGGFIX1", "FRA_RATA", 298, row(5), 34, kRow},
    {"TXT_GGSCADFIX1", "FRA_RATA", 334, row(5), 34, kRow},
    {"LBL_INTERVALLO2", "FRA_RATA", 384, row(5), 252, kRow},
    {"TXT_DAGGFIX2", "FRA_RATA", 638, row(5), 34, kRow},
    {"TXT_AGGFIX2", "FRA_RATA", 674, row(5), 34, kRow},
    {"TXT_GGSCADFIX2", "FRA_RATA", 710, row(5), 34, kRow},
    {"GRIDNAV_RATE", "P0", 4, kPageBar, 440, kBar},
    {"CMD_GENERA", "P0", 592, kPageBar, 180, kBar},

    {"FRA_DESCANAL", "P1", 4, 4, kPageWide, 309},
    {"LBL_DESCANAL", "FRA_DESCANAL", 8, row(0), 300, kRow},
    {"TXT_DESCANAL", "FRA_DESCANAL", 8, row(1), 750, kRow},

    {"GRID_PERSLIT", "P2", 4, 4, kPageWide, 187},
    {"FRA_PERSLIT", "P2", 4, 194, kPageWide, 93},
    {"LBL_PERSLITDAGGMM", "FRA_PERSLIT", 8, row(0), 150, kRow},
    {"TXT_PERSLITDAGGMM", "FRA_PERSLIT", 160, row(0), 56, kRow},
    {"LBL_PERSLITAGGMM", "FRA_PERSLIT", 240, row(0), 124, kRow},
    {"TXT_PERSLITAGGMM", "FRA_PERSLIT", 366, row(0), 56, kRow},
    {"LBL_TIPOSLIT", "FRA_PERSLIT", 8, row(1), 150, kRow},
    {"CMB_TIPOSLIT", "FRA_PERSLIT", 160, row(1), 420, kRow},
    {"LBL_PERSLITGGMMSCAD", "FRA_PERSLIT", 8, row(2), 150, kRow},
    {"TXT_PERSLITGGMMSCAD", "FRA_PERSLIT", 160, row(2), 56, kRow},
    {"LBL_PERSLITSLIT", "FRA_PERSLIT", 240, row(2), 124, kRow},
    {"TXT_PERSLITSLIT", "FRA_PERSLIT", 366, row(2), 44, kRow},
    {"GRIDNAV_PERIODI", "P2", 4, kPageBar, 440, kBar},

    {"GRID_LINGUA", "P3", 4, 4, kPageWide, 187},
    {"FRA_LINGUA", "P3", 4, 194, kPageWide, 93},
    {"LBL_CODLINGUA", "FRA_LINGUA", 8, row(0), 130, kRow},
    {"TXT_CODLINGUA", "FRA_LINGUA", 140, row(0), 80, kRow},
    {"TXT_DCODLINGUA", "FRA_LINGUA", 224, row(0), 260, kRow},
    {"LBL_DESCRLINGUA", "FRA_LINGUA", 8, row(1), 130, kRow},
    {"TXT_DESCRLINGUA", "FRA_LINGUA", 140, row(1), 618, kRow},
    {"LBL_DESCRANALLINGUA", "FRA_LINGUA", 8, row(2), 130, kRow},
    {"TXT_DESCRANALLINGUA", "FRA_LINGUA", 140, row(2), 618, kRow},
    {"GRIDNAVL", "P3", 4, kPageBar, 440, kBar},

    {"INTERNAV", "", 4, kNavigatorTop, kWide, kBar},
};
// clang-format on

}  // namespace

EditorView::EditorView(FRMCO_CONDPAG& window, QWidget* parent)
    : QWidget(parent), window_(&window), binding_(std::make_unique<FormBinding>(window)) {
    setObjectName("FRMCO_CONDPAG");
    setWindowTitle(qstr(window.caption()));
    lookups_ = std::make_unique<QtLookupRunner>(window.WindowConnection(), this);
    window.set_lookup_runner(lookups_.get());
    QFont small = font();
    small.setPixelSize(kFontPixels);
    setFont(small);
    build();
    resize(kDesignWidth, kDesignHeight);
    // Fields and labels keep their size when the window shrinks: below the design size they
    // would cover each other, so the window goes no smaller (the host scrolls it instead).
    setMinimumSize(kDesignWidth, kDesignHeight);
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
                std::string page = "P";  // appended: "P" + temporary trips GCC bug 105651
                page += std::to_string(i);
                containers[page] = tabs->widget(i);
                arranger_.add_page(tabs->widget(i), tabs, design.size(),
                                   QSize(kTabBarWidth, kTabBarHeight));
            }
        } else if (std::string(place.name).rfind("FRA_", 0) == 0) {
            containers[place.name] = widget;
            arranger_.add_container(widget, design.size());
        }
        // A list as tall as a line edit: its items carry no icon to make room for.
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            combo->setSizeAdjustPolicy(QComboBox::AdjustToContentsOnFirstShow);
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
