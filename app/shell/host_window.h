#pragma once
// The host shell: a main window that plays the host of the payment-terms component. Its menu
// entry creates the component by its programmatic identifier and shows the editor in the central
// area; its navigator toolbar follows the active frame's status and drives the frame's commands;
// its status bar shows the status and what a calling program received.

#include <QMainWindow>
#include <QPointer>
#include <map>
#include <memory>
#include <string>

#include "component/CLSCO_CONDPAG.h"
#include "component/host_events.h"
#include "component/registry.h"
#include "editor/FRMCO_CONDPAG.h"
#include "ui/message_boxes.h"
#include "ui/preview_panel.h"
#include "ui/secondary_dialogs.h"

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;

namespace condpag::ui {
class EditorView;
}

namespace condpag::shell {

struct ShellOptions {
    std::string connection_string;  // "sqlite:PATH" or "odbc:..."
    int profile = 0;
    std::string code;         // opens the window on this payment term, as a calling program does
    std::string module_path;  // the component module; empty: the component linked in
};

class HostWindow : public QMainWindow, public EventingNavigator, public WindowPresenter {
  public:
    explicit HostWindow(ShellOptions options);
    ~HostWindow() override;

    // The menu entry: creates the component by its identifier and shows its window. Answers an
    // error text, empty on success.
    std::string open_payment_terms();
    // Sizes the main window so that the editor shows whole.
    void fit_to_editor();
    // Asks for the editor at `size` and makes the host's area that size: an editor that goes no
    // smaller is scrolled in the area.
    void resize_editor(QSize size);

    CLSCO_CONDPAG* component() const { return component_; }
    ui::EditorView* editor_view() const { return view_; }
    // A toolbar button by key: "Nuovo", "Cerca", "Salva", "Annulla", "Elimina", "Primo",
    // "Precedente", "Successivo", "Ultimo", "Chiudi".
    QAction* action(const std::string& key) const;
    QString status_text() const;
    // What the last calling-program hand-over carried, as shown in the status bar.
    const std::string& received() const { return received_; }
    // How the component was made ("modulo ..." or "collegato").
    const std::string& component_source() const { return component_source_; }

    // Host navigator.
    void SetStatus(FrameStatus status) override;
    void Refresh() override;

    // Window presenter.
    void Show(FRMCO_CONDPAG& window, int window_state, bool modal) override;
    void Released(FRMCO_CONDPAG& window) override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void build_menu_and_toolbar();
    void run_command(const std::string& key);
    void show_status(FrameStatus status);
    void drop_view();

    ShellOptions options_;
    ui::QtMessageService messages_;
    HeadlessFormEvents form_events_;
    HeadlessMenuEntry menu_entry_{"Condizioni di pagamento"};
    std::unique_ptr<RegistryGlobal> global_;
    ComponentHandle handle_;
    CLSCO_CONDPAG* component_ = nullptr;
    std::string component_source_;
    QMdiArea* area_ = nullptr;
    QPointer<QMdiSubWindow> sub_window_;
    ui::EditorView* view_ = nullptr;
    ui::PreviewPanel* preview_ = nullptr;
    ModalSecondaryWindows secondary_windows_{ui::dialog_runner(this)};
    FRMCO_CONDPAG* shown_ = nullptr;
    std::map<std::string, QAction*> actions_;
    QLabel* status_label_ = nullptr;
    std::string received_;
    FrameStatus status_ = FrameStatus::View;
};

}  // namespace condpag::shell
