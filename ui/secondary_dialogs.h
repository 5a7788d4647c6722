#pragma once
// The secondary windows (generation, subtypes) on screen: each shown as a modal dialog whose
// widgets are bound to the window's controls, one labelled row per field. The dialog closes when
// the window asks to be closed; a person closing it asks the window to unload, and the dialog
// stays open when the window refuses.

#include <QDialog>
#include <memory>
#include <string>

#include "ui/form_binding.h"
#include "windows/modal_window.h"

class QCloseEvent;
class QShowEvent;

namespace condpag::ui {

class SecondaryDialog : public QDialog {
  public:
    // The window must be shown (loaded and activated) and must outlive the dialog.
    explicit SecondaryDialog(ModalWindow& window, QWidget* parent = nullptr);
    ~SecondaryDialog() override;

    ModalWindow& window() const { return *window_; }
    FormBinding& binding() { return *binding_; }
    // The widget of a control by name (nullptr when it has none).
    QWidget* widget_of(const std::string& name) const;

    // Asks the window to unload and closes when it agrees; answers whether it closed.
    bool try_close();

  protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // Escape closes as the window's close button does.
    void reject() override;

  private:
    void build();

    ModalWindow* window_;
    std::unique_ptr<FormBinding> binding_;
    bool closing_ = false;
};

// Shows the generation and subtypes windows as modal dialogs over the active modal dialog, or
// over `parent` when none is open: shows the window, runs the dialog until the window has
// unloaded, and returns. A window that asks to close while loading is unloaded at once.
ModalRunner dialog_runner(QWidget* parent);

}  // namespace condpag::ui
