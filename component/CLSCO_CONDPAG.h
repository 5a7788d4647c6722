#pragma once
// CLSCO_CONDPAG, the public component of the payment terms: the host creates it by identifier,
// hands it its objects through the host interface, asks it to show or close the editor window
// and forwards to it the events of its toolbar and of its media manager. The window reads
// everything back through the same interface.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "component/host_component.h"
#include "component/host_events.h"
#include "component/published_types.h"
#include "framework/event.h"
#include "framework/hypermedia.h"
#include "framework/message_service.h"

namespace condpag {

class FRMCO_CONDPAG;

inline constexpr const char* kComponentProgId = "VELMORA.CLSCO_CONDPAG";

// How the host puts a window on screen. Without one, a window is shown headless: it is loaded
// and activated, and a modal showing returns at once.
class WindowPresenter {
  public:
    virtual ~WindowPresenter() = default;
    // Shows a loaded window; a modal showing returns when the window has closed.
    virtual void Show(FRMCO_CONDPAG& window, int window_state, bool modal) = 0;
    // The window is about to be released: it has unloaded, or the component is going.
    virtual void Released(FRMCO_CONDPAG& window) = 0;
};

class CLSCO_CONDPAG : public HostComponent {
  public:
    CLSCO_CONDPAG();
    ~CLSCO_CONDPAG() override;
    CLSCO_CONDPAG(const CLSCO_CONDPAG&) = delete;
    CLSCO_CONDPAG& operator=(const CLSCO_CONDPAG&) = delete;

    // Own members.
    ActualParametersType ActualParameters() const { return parameters_; }
    void SetActualParameters(const ActualParametersType& parameters) { parameters_ = parameters; }
    Value CodicePagamento() const { return codice_pagamento_; }
    void SetCodicePagamento(Value code) { codice_pagamento_ = std::move(code); }
    // Raised by TransferData with the values a window hands back to its caller.
    Event<const std::vector<Value>&> DataTransfer;

    // Host interface.
    condpag::ClsGlobal* ClsGlobal() const override { return global_; }
    void SetClsGlobal(condpag::ClsGlobal* global) override { global_ = global; }
    DataFrame* ActiveFrame() const override { return frame_; }
    void SetActiveFrame(DataFrame* frame) override { frame_ = frame; }
    HostNavigator* ActiveNavigator() const override { return navigator_; }
    void SetActiveNavigator(HostNavigator* navigator) override;
    std::string ActiveDll() const override { return dll_name_; }
    void SetActiveDll(std::string name) override { dll_name_ = std::move(name); }
    Cinterface* ActiveDllObject() const override { return dll_; }
    void SetActiveDllObject(Cinterface* dll) override { dll_ = dll; }
    condpag::StatusBar* StatusBar() const override { return status_bar_; }
    void SetStatusBar(condpag::StatusBar* bar) override { status_bar_ = bar; }
    MenuEntry* ClsVoceMenu() const override { return menu_; }
    void SetClsVoceMenu(MenuEntry* menu) override { menu_ = menu; }
    condpag::Connection Connection() const override { return connection_; }
    void SetConnection(condpag::Connection connection) override { connection_ = connection; }

    bool CanInsert() const override { return can_insert_; }
    void SetCanInsert(bool on) override { can_insert_ = on; }
    bool CanDelete() const override { return can_delete_; }
    void SetCanDelete(bool on) override { can_delete_ = on; }
    bool CanUpdate() const override { return can_update_; }
    void SetCanUpdate(bool on) override { can_update_ = on; }
    bool CanQbe() const override { return can_qbe_; }
    void SetCanQbe(bool on) override { can_qbe_ = on; }

    int WindowState() const override { return window_state_; }
    void SetWindowState(std::int32_t state) override;
    int ProgramMode() const override { return program_mode_; }
    void SetProgramMode(std::int32_t mode) override;
    bool WindowModal() const override { return modal_; }
    void SetWindowModal(bool modal) override { modal_ = modal; }
    bool IsActive() const override { return active_; }
    void SetIsActive(bool active) override { active_ = active; }
    bool IsCalled() const override { return called_; }
    void SetIsCalled(bool called) override { called_ = called; }

    Value MenuModulo() const override { return menu_modulo_; }
    void SetMenuModulo(Value value) override { menu_modulo_ = std::move(value); }
    Value MenuPadre() const override { return menu_padre_; }
    void SetMenuPadre(Value value) override { menu_padre_ = std::move(value); }
    Value MenuProg() const override { return menu_prog_; }
    void SetMenuProg(Value value) override { menu_prog_ = std::move(value); }
    Value Caption() const override { return caption_; }
    void SetCaption(Value caption) override { caption_ = std::move(caption); }
    Value Filtro() const override { return filtro_; }
    void SetFiltro(Value filter) override { filtro_ = std::move(filter); }
    std::int32_t hwndParent() const override { return hwnd_parent_; }
    void SethwndParent(std::int32_t handle) override { hwnd_parent_ = handle; }

    int Top() const override { return top_; }
    void SetTop(const Value& top) override;
    int Left() const override { return left_; }
    void SetLeft(const Value& left) override;

    Value ShowForm() override;
    bool CloseForm() override;
    Form* Cwindow() const override { return nullptr; }
    void TransferData(const std::vector<Value>& data) override { DataTransfer.emit(data); }

    // The window shown last (nullptr before the first ShowForm); a closed window is released
    // by the next ShowForm.
    FRMCO_CONDPAG* window() const { return window_.get(); }
    // The host's way of putting windows on screen (nullptr: headless).
    void SetPresenter(WindowPresenter* presenter) { presenter_ = presenter; }
    // Makes the media manager when the multimedia button first needs one; by default a
    // headless one.
    void SetHyperMediaFactory(std::function<std::unique_ptr<CHyperMedia>()> factory) {
        hypermedia_factory_ = std::move(factory);
    }
    CHyperMedia* HyperMedia() const { return hypermedia_.get(); }

    // Host navigator events.
    void Navigator_BeforeExportToOffice(bool& cancel, ExportObject& export_object);
    void Navigator_BeforeChangeDitta(bool& cancel);
    void Navigator_ChangeDitta(bool& cancel);
    void Navigator_InitializeLayoutObjectModel(bool& cancel, LayoutObjectModel& layout);
    void Navigator_InitializeScriptObjectModel(bool& cancel, ScriptObjectModel& script);
    void Navigator_ButtonPressed(bool& cancel, int button);
    // Media manager event: an attachment was created for the current payment term.
    void HyperMedia_AfterMediaCreate(bool& cancel, const std::string& media_code);

  private:
    // The navigator events gate on the active DLL being the host's active interface.
    bool active_in_host() const;
    Answer show_message(const std::string& text, int style, const std::string& title);
    void open_media_manager();
    void unload_open_windows();
    void release_windows(bool unloaded_only);

    ActualParametersType parameters_;
    Value codice_pagamento_;

    Cinterface* dll_ = nullptr;
    std::string dll_name_ = kComponentProgId;
    DataFrame* frame_ = nullptr;
    HostNavigator* navigator_ = nullptr;
    condpag::ClsGlobal* global_ = nullptr;
    MenuEntry* menu_ = nullptr;
    condpag::StatusBar* status_bar_ = nullptr;
    condpag::Connection connection_;

    bool can_insert_ = false;
    bool can_delete_ = false;
    bool can_update_ = false;
    bool can_qbe_ = false;
    bool active_ = false;
    bool called_ = false;
    bool modal_ = false;
    std::int16_t window_state_ = 0;
    std::int16_t program_mode_ = 0;
    std::int32_t hwnd_parent_ = 0;
    std::int32_t top_ = 0;
    std::int32_t left_ = 0;
    Value menu_modulo_;
    Value menu_padre_;
    Value menu_prog_;
    Value caption_;
    Value filtro_;

    std::unique_ptr<FRMCO_CONDPAG> window_;
    // Windows replaced by a later ShowForm while still loaded; released once they unload.
    std::vector<std::unique_ptr<FRMCO_CONDPAG>> previous_windows_;
    WindowPresenter* presenter_ = nullptr;
    std::unique_ptr<CHyperMedia> hypermedia_;
    std::function<std::unique_ptr<CHyperMedia>()> hypermedia_factory_;
    // Handlers connected to the navigator hold this; it is emptied when the navigator changes
    // or the component goes, so an old navigator no longer reaches us.
    std::shared_ptr<CLSCO_CONDPAG*> listening_;
};

}  // namespace condpag
