#include "ui/layout_arranger.h"

#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>
#include <vector>

namespace condpag::ui {

QRect scaled_rect(const QRect& design, int code, double fx, double ky, int moved_by) {
    auto scale = [](int value, double factor) {
        return static_cast<int>(std::lround(value * factor));
    };
    int left = (code & kLayoutLeft) ? scale(design.x(), fx) : design.x();
    int top = (code & kLayoutTop) ? design.y() + moved_by : design.y();
    int width = (code & kLayoutWidth) ? scale(design.width(), fx) : design.width();
    int height = (code & kLayoutHeight) ? scale(design.height(), 1.0 + ky) : design.height();
    return QRect(left, top, width, height);
}

namespace {

// Widgets of one line of text, which never grow taller.
bool single_line(const QWidget* widget) {
    return qobject_cast<const QLabel*>(widget) != nullptr ||
           qobject_cast<const QLineEdit*>(widget) != nullptr;
}

}  // namespace

void LayoutArranger::add_container(QWidget* container, QSize design_size, QSize reserved) {
    containers_.push_back({container, design_size, reserved, container});
}

void LayoutArranger::add_page(QWidget* page, QWidget* strip, QSize strip_design, QSize reserved) {
    containers_.push_back({page, strip_design, reserved, strip});
}

void LayoutArranger::add(QWidget* widget, QWidget* container, QRect design, int code) {
    placed_.push_back({widget, container, design, code});
}

void LayoutArranger::set_code(QWidget* widget, int code) {
    for (Placed& placed : placed_) {
        if (placed.widget == widget) placed.code = code;
    }
}

QSize LayoutArranger::room_of(const Container& container) {
    // A tab strip's bar and frame depend on the style and the font: once the strip has laid out
    // its current page, that page tells what the pages have.
    if (auto* tabs = qobject_cast<QTabWidget*>(container.sized_by.data());
        tabs != nullptr && container.sized_by != container.widget && tabs->isVisible() &&
        tabs->currentWidget() != nullptr && !tabs->currentWidget()->size().isEmpty()) {
        return tabs->currentWidget()->size();
    }
    return container.sized_by->size() - container.reserved;
}

const LayoutArranger::Container* LayoutArranger::container_of(const QWidget* widget) const {
    for (const Container& container : containers_) {
        if (container.widget == widget) return &container;
    }
    return nullptr;
}

void LayoutArranger::arrange() {
    // A frame whose fields all keep their design place keeps its height too: taller, it would
    // only show an empty band under them.
    auto holds_placed = [this](const QWidget* frame) {
        return std::any_of(placed_.begin(), placed_.end(), [frame](const Placed& placed) {
            return placed.container == frame && placed.code != 0;
        });
    };
    auto code_of = [&](const Placed& placed) {
        bool fixed_frame = container_of(placed.widget) != nullptr &&
                           qobject_cast<const QTabWidget*>(placed.widget) == nullptr &&
                           !holds_placed(placed.widget);
        return single_line(placed.widget) || fixed_frame ? placed.code & ~kLayoutHeight
                                                         : placed.code;
    };
    // The heights that grow in each container, as design intervals (the growing widgets of a
    // container stand one above the other).
    std::map<const QWidget*, std::vector<std::pair<int, int>>> growing;
    for (const Placed& placed : placed_) {
        if (placed.widget && (code_of(placed) & kLayoutHeight)) {
            growing[placed.container].emplace_back(placed.design.top(),
                                                   placed.design.top() + placed.design.height());
        }
    }
    // Growing height above a design line.
    auto grown_above = [](const std::vector<std::pair<int, int>>& spans, int line) {
        int total = 0;
        for (const auto& [from, to] : spans) total += std::max(0, std::min(to, line) - from);
        return total;
    };

    // Placed in the order they were added: a container is always added before its children.
    for (const Placed& placed : placed_) {
        if (!placed.widget) continue;
        double fx = 1.0;
        double ky = 0.0;
        int moved_by = 0;
        const std::vector<std::pair<int, int>>& spans = growing[placed.container];
        if (const Container* container = container_of(placed.container);
            container != nullptr && container->sized_by) {
            QSize now = room_of(*container);
            QSize design = container->design - container->reserved;
            if (design.width() > 0) fx = std::max(0.0, double(now.width()) / design.width());
            const int dy = now.height() - design.height();
            const int grows = grown_above(spans, std::numeric_limits<int>::max());
            // Nothing grows in height: what moves down follows the container's bottom.
            moved_by = dy;
            if (grows > 0) {
                ky = double(dy) / grows;
                moved_by =
                    static_cast<int>(std::lround(ky * grown_above(spans, placed.design.top())));
            }
        }
        QRect rect = scaled_rect(placed.design, code_of(placed), fx, ky, moved_by);
        if (placed.widget->geometry() != rect) placed.widget->setGeometry(rect);
    }
}

}  // namespace condpag::ui
