#include "windows/modal_window.h"

#include "framework/data_frame.h"

namespace condpag {

void ModalWindow::Show() {
    if (!loaded_) {
        loaded_ = true;
        Form_Load();
        if (close_requested()) return;
    }
    Form_Activate();
}

void ModalWindow::give_back_active_frame(Cinterface& host, DataFrame* frame) {
    host.SetActiveFrame(frame);
    HostNavigator* navigator = host.ActiveNavigator();
    if (navigator != nullptr && frame != nullptr) navigator->SetStatus(frame->Status());
}

void ModalWindow::Activate() {
    if (loaded_) Form_Activate();
}

bool ModalWindow::Unload() {
    if (!loaded_) return true;
    bool cancel = false;
    Form_QueryUnload(cancel);
    if (cancel) return false;
    Form_Unload();
    loaded_ = false;
    return true;
}

void run_without_person(ModalWindow& window) {
    window.Show();
    window.Unload();
}

}  // namespace condpag
