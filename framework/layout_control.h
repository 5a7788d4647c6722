#pragma once
// The layout control: a window registers, once, the controls that follow resizing, each with its
// layout code; the control arranges them. Headless, it keeps the registrations in order and
// counts the arrangements, so tests and the Qt view can read them.

#include <string>
#include <vector>

#include "framework/control.h"

namespace condpag {

struct LayoutEntry {
    Control* control = nullptr;
    int code = 0;  // bits 1, 2, 4, 8: which edges follow the window
};

class LayoutControl : public Control {
  public:
    LayoutControl(Form& form, std::string name);
    bool focusable() const override { return false; }

    // Starts the control: the first start raises Registration, where the window registers its
    // controls; later starts register nothing again. The grid name is kept.
    void Start(const std::string& grid_name = "");
    void Stop();
    bool started() const { return started_; }
    const std::string& grid_name() const { return grid_name_; }

    // Every call is kept, in call order (a control registered twice appears twice).
    void Register(Control& control, int code);
    const std::vector<LayoutEntry>& registered() const { return entries_; }

    // Arranges the registered controls for the window's current size.
    void Arrange();
    int arrangements() const { return arrangements_; }

    Event<> Registration;
    // Asked when the window is resized; the window answers whether the control may resize it.
    Event<bool&> ResizeQuery;
    // Asks the window's answer (false when no handler sets it).
    bool query_resize();

  private:
    std::vector<LayoutEntry> entries_;
    std::string grid_name_;
    bool started_ = false;
    bool registered_once_ = false;
    int arrangements_ = 0;
};

}  // namespace condpag
