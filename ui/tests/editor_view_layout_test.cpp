// The editor at its starting size, on every page of its tab strip: every caption reads whole,
// nothing overlaps a neighbour or spills out of its frame, boxes are tall enough for their text,
// the choice lists are wide enough for their items and the grids show all their rows; and tab
// pages keep what sits at their bottom whatever the height of the tab bar.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "editor/tests/session.h"
#include "ui/editor_view.h"
#include "ui/layout_arranger.h"
#include "ui/tests/qt_support.h"

namespace condpag::ui {
namespace {

std::string describe(const QWidget* widget, const std::string& fault) {
    std::ostringstream out;
    const QRect at = widget->geometry();
    out << widget->objectName().toStdString() << " (" << at.x() << "," << at.y() << " "
        << at.width() << "x" << at.height() << "): " << fault;
    return out.str();
}

// Where a widget's children may be drawn: a group box keeps its title for itself.
QRect room_of(const QWidget* parent) {
    if (auto* group = qobject_cast<const QGroupBox*>(parent)) return group->contentsRect();
    return parent->rect();
}

// The width a choice list needs to show its widest item whole, arrow and frame included.
int combo_width(const QComboBox* combo) {
    int widest = 0;
    for (int i = 0; i < combo->count(); ++i) {
        widest = std::max(widest, combo->fontMetrics().horizontalAdvance(combo->itemText(i)));
    }
    QStyleOptionComboBox option;
    option.initFrom(combo);
    QSize text(widest, combo->fontMetrics().height());
    return combo->style()->sizeFromContents(QStyle::CT_ComboBox, &option, text, combo).width();
}

// The size a widget needs to show what it holds whole (0 where it asks nothing).
QSize need_of(const QWidget* widget) {
    if (qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget))
        return widget->sizeHint();
    if (auto* group = qobject_cast<const QGroupBox*>(widget))
        return {group->fontMetrics().horizontalAdvance(group->title()) + 16, 0};
    if (auto* combo = qobject_cast<const QComboBox*>(widget))
        return {combo_width(combo), combo->minimumSizeHint().height()};
    if (qobject_cast<const QLineEdit*>(widget)) return {0, widget->minimumSizeHint().height()};
    if (auto* grid = qobject_cast<const QTableView*>(widget); grid && grid->model()->rowCount()) {
        QModelIndex last = grid->model()->index(grid->model()->rowCount() - 1, 0);
        return {0, grid->height() - grid->viewport()->height() + grid->visualRect(last).bottom()};
    }
    return {};
}

// Checks every widget in sight that the view placed, and the parts of the navigators and
// lookup boxes that their own row layout placed.
std::vector<std::string> layout_faults(const EditorView& view) {
    std::vector<std::string> faults;
    std::map<const QWidget*, std::vector<const QWidget*>> by_parent;
    for (Control* control : view.window().controls()) {
        const QWidget* widget = view.widget_of(control->name());
        if (widget == nullptr || !widget->isVisible()) continue;
        by_parent[widget->parentWidget()].push_back(widget);
        for (const QWidget* part : widget->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            bool row_part = qobject_cast<const QToolButton*>(part) ||
                            (qobject_cast<const QLineEdit*>(part) && widget->layout() != nullptr);
            if (row_part && part->isVisible()) by_parent[widget].push_back(part);
        }
    }
    for (const auto& [parent, children] : by_parent) {
        const QRect room = room_of(parent);
        for (size_t i = 0; i < children.size(); ++i) {
            const QWidget* child = children[i];
            QSize need = need_of(child);
            if (need.width() > child->width() || need.height() > child->height()) {
                faults.push_back(describe(child, "needs " + std::to_string(need.width()) + "x" +
                                                     std::to_string(need.height())));
            }
            if (!room.contains(child->geometry())) faults.push_back(describe(child, "spills out"));
            // One line of text stays one line high.
            if ((qobject_cast<const QLineEdit*>(child) || qobject_cast<const QLabel*>(child)) &&
                child->height() > 2 * child->sizeHint().height()) {
                faults.push_back(describe(child, "stretched"));
            }
            for (size_t j = i + 1; j < children.size(); ++j) {
                if (child->geometry().intersects(children[j]->geometry())) {
                    faults.push_back(
                        describe(child, "overlaps " + children[j]->objectName().toStdString()));
                }
            }
        }
    }
    return faults;
}

// The frame of each page's fields and the navigator under it.
struct PageBottom {
    const char* grid;
    const char* frame;
    const char* navigator;
};
constexpr PageBottom kPageBottoms[] = {{"GRID_CONDPAG", "FRA_RATA", "GRIDNAV_RATE"},
                                       {nullptr, "FRA_DESCANAL", nullptr},
                                       {"GRID_PERSLIT", "FRA_PERSLIT", "GRIDNAV_PERIODI"},
                                       {"GRID_LINGUA", "FRA_LINGUA", "GRIDNAVL"}};

// Every page at 70 %, 100 % and 160 % of the design size. Smaller than the design size the
// window refuses to go; larger, the grids take the room and what is under them stays packed.
TEST(EditorViewLayout, EveryPageTidyAtSeventyHundredAndHundredSixtyPercent) {
    testing::application();
    Session s(2);  // the VAT-reversal box is shown too
    FRMCO_CONDPAG& w = s.open();
    EditorView view(w);
    view.show();
    s.go_to("RB369");  // three installments and two shift periods
    QApplication::processEvents();
    EXPECT_EQ(view.width(), 788);
    EXPECT_EQ(view.height(), 469);

    auto* tabs = qobject_cast<QTabWidget*>(view.widget_of("TabCondPag"));
    ASSERT_NE(tabs, nullptr);
    ASSERT_EQ(tabs->count(), 4);
    QSize design_grid;  // GRID_CONDPAG at the design size
    for (int percent : {70, 100, 160}) {
        view.resize(EditorView::kDesignWidth * percent / 100,
                    EditorView::kDesignHeight * percent / 100);
        QApplication::processEvents();
        const std::string size = std::to_string(percent) + " %";
        EXPECT_GE(view.width(), EditorView::kDesignWidth) << size;
        EXPECT_GE(view.height(), EditorView::kDesignHeight) << size;
        EXPECT_LE(tabs->tabBar()->sizeHint().width(), tabs->width()) << "every tab in sight";
        for (int page = 0; page < tabs->count(); ++page) {
            tabs->setCurrentIndex(page);
            QApplication::processEvents();
            ASSERT_EQ(w.TabCondPag.tab(), page);
            std::vector<std::string> faults = layout_faults(view);
            EXPECT_EQ(faults, std::vector<std::string>{}) << size << ", page " << page;
            // The navigators whole inside the window, under the fields with no empty band.
            const PageBottom& bottom = kPageBottoms[page];
            for (const char* name : {"INTERNAV", bottom.navigator}) {
                if (name == nullptr) continue;
                QWidget* navigator = view.widget_of(name);
                ASSERT_NE(navigator, nullptr) << name;
                QRect at(navigator->mapTo(&view, QPoint(0, 0)), navigator->size());
                EXPECT_TRUE(navigator->isVisible() && view.rect().contains(at))
                    << size << ": " << name << " out of sight";
            }
            // The frames of the header and of the fields end under their last row.
            for (const char* name : {"FRA_TESTATA", bottom.frame}) {
                QWidget* frame = view.widget_of(name);
                if (name == std::string("FRA_DESCANAL")) continue;  // drawn to fill its page
                int last = 0;
                for (const QWidget* child :
                     frame->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly)) {
                    if (child->isVisible()) last = std::max(last, child->geometry().bottom());
                }
                EXPECT_LE(frame->height() - last, 14) << size << ": empty band in " << name;
            }
            if (bottom.navigator == nullptr) continue;
            QWidget* frame = view.widget_of(bottom.frame);
            QWidget* navigator = view.widget_of(bottom.navigator);
            QWidget* grid = view.widget_of(bottom.grid);
            if (page == 0 && percent == 100) design_grid = grid->size();
            if (page == 0 && percent == 160) {
                EXPECT_GT(grid->width(), design_grid.width()) << "the grid takes the room";
                EXPECT_GT(grid->height(), design_grid.height()) << "the grid takes the room";
            }
            EXPECT_LE(frame->y() - grid->geometry().bottom(), 12)
                << size << ": empty band between " << bottom.grid << " and " << bottom.frame;
            EXPECT_LE(navigator->y() - frame->geometry().bottom(), 12)
                << size << ": empty band between " << bottom.frame << " and " << bottom.navigator;
        }
    }
}

// A style whose tab bar is taller than the places assumed: what sits at the bottom of a page
// stays on it, at the design size and grown.
TEST(EditorViewLayout, PagesFollowWhatTheTabStripGivesThem) {
    testing::application();
    QWidget window;
    auto* tabs = new QTabWidget(&window);
    auto* page = new QWidget;
    tabs->addTab(page, "Rate");
    auto* bottom = new QPushButton("Nuovo", page);
    LayoutArranger arranger;
    arranger.add_container(&window, QSize(400, 300));
    arranger.add(tabs, &window, QRect(0, 0, 400, 300), 15);
    arranger.add_page(page, tabs, QSize(400, 300), QSize(0, 0));  // as if the bar took nothing
    arranger.add(bottom, page, QRect(4, 272, 100, 24), kLayoutTop | kLayoutWidth);
    window.resize(400, 300);
    window.show();
    for (QSize size : {QSize(400, 300), QSize(600, 500)}) {
        window.resize(size);
        arranger.arrange();
        QApplication::processEvents();
        EXPECT_TRUE(page->rect().contains(bottom->geometry()))
            << size.width() << "x" << size.height() << ": " << bottom->y() << "+24 on a page "
            << page->height() << " high";
    }
}

}  // namespace
}  // namespace condpag::ui
