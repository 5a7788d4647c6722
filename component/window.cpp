// Showing and closing the editor window.

#include <algorithm>

#include "component/CLSCO_CONDPAG.h"
#include "editor/FRMCO_CONDPAG.h"

namespace condpag {

Value CLSCO_CONDPAG::ShowForm() {
    release_windows(true);
    if (window_ && !window_->unloaded()) previous_windows_.push_back(std::move(window_));

    window_ = std::make_unique<FRMCO_CONDPAG>();
    auto* component = dynamic_cast<CLSCO_CONDPAG*>(dll_);
    window_->SetInterface(dll_);
    window_->SetComponent(component, [component]() -> std::string {
        return component != nullptr ? component->CodicePagamento().to_text() : std::string();
    });
    window_->Form_Load();
    window_->set_caption(caption_.to_text());
    if (presenter_ != nullptr) {
        presenter_->Show(*window_, window_state_, modal_);
    } else {
        window_->Form_Activate();
    }
    return Value();
}

bool CLSCO_CONDPAG::CloseForm() {
    if (!window_) return true;
    if (!window_->unloaded()) {
        bool cancel = false;
        window_->Form_QueryUnload(cancel);
        if (cancel) return false;
        window_->Form_Unload();
    }
    // The unload lets go of the host interface only when it ran to its end. The window object
    // itself stays until the next ShowForm: CloseForm may be called from one of its handlers.
    return window_->Interface() == nullptr;
}

void CLSCO_CONDPAG::unload_open_windows() {
    for (auto& window : previous_windows_) {
        if (window->loaded() && !window->unloaded()) window->Form_Unload();
    }
    if (window_ && window_->loaded() && !window_->unloaded()) window_->Form_Unload();
}

void CLSCO_CONDPAG::release_windows(bool unloaded_only) {
    auto release = [this, unloaded_only](std::unique_ptr<FRMCO_CONDPAG>& window) {
        if (!window || (unloaded_only && !window->unloaded())) return false;
        if (presenter_ != nullptr) presenter_->Released(*window);
        window.reset();
        return true;
    };
    std::erase_if(previous_windows_, release);
    release(window_);
}

}  // namespace condpag
