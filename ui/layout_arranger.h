#pragma once
// Follows resizing as the window's layout control asks: each registered widget's place and size
// follow the container it sits in, part by part according to its layout code:
//   1 height, 2 left, 4 width, 8 top
// Sideways, left and width scale with the container's width. Downwards, what the container
// gained in height is shared by the widgets that grow in height, in proportion to their heights,
// and a widget that moves down moves by what grew above it: the rows under a growing grid stay
// packed under it and the navigators stay at the bottom, with no empty band.
// So 15 grows both ways, 14 grows sideways and moves down with what grows above it, 12 (the
// navigators) stays at the bottom and grows sideways, 10 moves and keeps its size. A single
// line (a label, an edit box) keeps its height, and so does a frame whose fields all keep
// their design place. Widgets that are not registered keep
// their design place and size.

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <vector>

namespace condpag::ui {

inline constexpr int kLayoutHeight = 1;
inline constexpr int kLayoutLeft = 2;
inline constexpr int kLayoutWidth = 4;
inline constexpr int kLayoutTop = 8;

// A rectangle placed by layout code in a container whose width grew by the factor fx (>= 0),
// where each pixel of height that grows becomes 1 + ky pixels, and what lies above the
// rectangle's top grew by `moved_by` pixels.
QRect scaled_rect(const QRect& design, int code, double fx, double ky, int moved_by);

class LayoutArranger {
  public:
    // A container whose children are placed: its design size, and how much of its current size
    // the children share (the pages of a tab strip lose the strip's bar and frame).
    void add_container(QWidget* container, QSize design_size, QSize reserved = {});
    // A tab page: its size follows the tab strip widget `strip`, less `reserved` at the design
    // size; once shown, what the strip gives its pages is measured.
    void add_page(QWidget* page, QWidget* strip, QSize strip_design, QSize reserved);
    // A widget placed at `design` inside `container`, with its layout code (0: fixed).
    void add(QWidget* widget, QWidget* container, QRect design, int code);
    void set_code(QWidget* widget, int code);

    // Places every widget for the current sizes, containers before their children.
    void arrange();

  private:
    struct Container {
        QPointer<QWidget> widget;
        QSize design;
        QSize reserved;
        // The widget whose size decides this container's (a tab page follows its tab strip).
        QPointer<QWidget> sized_by;
    };
    struct Placed {
        QPointer<QWidget> widget;
        QWidget* container = nullptr;
        QRect design;
        int code = 0;
    };
    const Container* container_of(const QWidget* widget) const;
    static QSize room_of(const Container& container);

    std::vector<Container> containers_;
    std::vector<Placed> placed_;
};

}  // namespace condpag::ui
