#include "ui/layout_arranger.h"

#include <QTabWidget>
#include <cmath>

namespace condpag::ui {

QRect scaled_rect(const QRect& design, int code, double fx, double fy) {
    auto scale = [](int value, double factor) {
        return static_cast<int>(std::lround(value * factor));
    };
    int left = (code & kLayoutLeft) ? scale(design.x(), fx) : design.x();
    int top = (code & kLayoutTop) ? scale(design.y(), fy) : design.y();
    int width = (code & kLayoutWidth) ? scale(design.width(), fx) : design.width();
    int height = (code & kLayoutHeight) ? scale(design.height(), fy) : design.height();
    return QRect(left, top, width, height);
}

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
    // Placed in the order they were added: a container is always added before its children.
    for (const Placed& placed : placed_) {
        if (!placed.widget) continue;
        double fx = 1.0;
        double fy = 1.0;
        if (const Container* container = container_of(placed.container);
            container != nullptr && container->sized_by) {
            QSize now = room_of(*container);
            QSize design = container->design - container->reserved;
            if (design.width() > 0) fx = std::max(0.0, double(now.width()) / design.width());
            if (design.height() > 0) fy = std::max(0.0, double(now.height()) / design.height());
        }
        QRect rect = scaled_rect(placed.design, placed.code, fx, fy);
        if (placed.widget->geometry() != rect) placed.widget->setGeometry(rect);
    }
}

}  // namespace condpag::ui
