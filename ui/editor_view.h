#pragma once
// The payment-terms editor on screen: every control of FRMCO_CONDPAG bound to its widget and
// placed as the window is drawn, the layout control's registrations followed on resizing, the
// lookup boxes served by the Qt list. The editor window must outlive the view.

#include <QWidget>
#include <memory>

#include "ui/form_binding.h"
#include "ui/layout_arranger.h"
#include "ui/lookup_dialog.h"
#include "ui/qt_text.h"

namespace condpag {
class FRMCO_CONDPAG;
}

namespace condpag::ui {

class EditorView : public QWidget {
  public:
    // The window's design size, 11820 x 7035 twips, is its starting size: 788 x 469 pixels.
    static constexpr int kDesignWidthTwips = 11820;
    static constexpr int kDesignHeightTwips = 7035;
    static constexpr int kDesignWidth = (kDesignWidthTwips + kTwipsPerPixel / 2) / kTwipsPerPixel;
    static constexpr int kDesignHeight = (kDesignHeightTwips + kTwipsPerPixel / 2) / kTwipsPerPixel;
    // The host draws its windows in a small dialog font; the controls are placed in pixels for
    // a font of this size, so it is fixed in pixels whatever the screen's resolution.
    static constexpr int kFontPixels = 11;

    explicit EditorView(FRMCO_CONDPAG& window, QWidget* parent = nullptr);
    ~EditorView() override;

    FRMCO_CONDPAG& window() const { return *window_; }
    FormBinding& binding() { return *binding_; }
    // The widget of a control by name (nullptr when it has none).
    QWidget* widget_of(const std::string& name) const;
    // Places the controls for the current size (as the layout control registered them).
    void arrange();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void build();

    FRMCO_CONDPAG* window_;
    std::unique_ptr<FormBinding> binding_;
    std::unique_ptr<QtLookupRunner> lookups_;
    LayoutArranger arranger_;
};

}  // namespace condpag::ui
