// What the component does on the events of the host navigator and of the media manager.

#include <optional>
#include <tuple>

#include "component/CLSCO_CONDPAG.h"
#include "editor/FRMCO_CONDPAG.h"
#include "framework/data_frame.h"
#include "framework/message_service.h"
#include "rules/records.h"
#include "storage/statements.h"

namespace condpag {

namespace {

constexpr const char* kWindowDescription = "Condizioni di pagamento";
constexpr const char* kScriptFrameName = "QDX_CondizioniPagamento";
constexpr int kMultimediaButton = 25;

}  // namespace

bool CLSCO_CONDPAG::active_in_host() const { return dll_ != nullptr && dll_->IsActive(); }

Answer CLSCO_CONDPAG::show_message(const std::string& text, int style, const std::string& title) {
    if (window_) return window_->ShowMessage(text, style, title);
    // No window yet: the host's own message object, as the window would fall back to.
    MessageService* messages = global_ != nullptr ? global_->MessageObject() : nullptr;
    return messages != nullptr ? messages->ShowMessage(text, style, title) : Answer::None;
}

void CLSCO_CONDPAG::Navigator_BeforeExportToOffice(bool&, ExportObject& export_object) {
    if (active_in_host()) export_object.TitoloMaster = kWindowDescription;
}

void CLSCO_CONDPAG::Navigator_BeforeChangeDitta(bool& cancel) {
    // The payment terms are shared by every company: a change of company changes nothing here.
    show_message("I dati in gestione non variano in funzione della ditta!!", kStyleInformation,
                 "Avviso Utente");
    cancel = true;
}

void CLSCO_CONDPAG::Navigator_ChangeDitta(bool&) {}

void CLSCO_CONDPAG::Navigator_InitializeLayoutObjectModel(bool&, LayoutObjectModel& layout) {
    if (!active_in_host() || !window_) return;
    layout.AddForm(*window_, kWindowDescription);
    layout.AddGrid(window_->GRID_CONDPAG, "Griglia Rate");
    layout.AddGrid(window_->GRID_PERSLIT, "Periodi di Slittamento");
    layout.AddGrid(window_->GRID_LINGUA, "Descrizione in Lingua");
}

void CLSCO_CONDPAG::Navigator_InitializeScriptObjectModel(bool&, ScriptObjectModel& script) {
    if (!active_in_host()) return;
    if (window_) script.AddObject(window_.get(), window_->name(), 0, kWindowDescription);
    // The frame is known to scripts by the script name, whatever the window calls it.
    if (frame_ != nullptr) {
        frame_->Name = kScriptFrameName;
        script.AddObject(frame_, frame_->Name, 3, frame_->Name);
    }
}

void CLSCO_CONDPAG::Navigator_ButtonPressed(bool&, int button) {
    if (!active_in_host() || button != kMultimediaButton) return;
    if (frame_ == nullptr || frame_->Recordset() == nullptr) return;
    if (frame_->Status() == FrameStatus::Insert) {
        show_message(
            "Il collegamento ai dati multimediali è possibile solamente in fase di "
            "variazione",
            kStyleInformation, "Avviso Utente");
        return;
    }
    if (frame_->Status() == FrameStatus::View) frame_->Update();
    open_media_manager();
}

void CLSCO_CONDPAG::open_media_manager() {
    if (!hypermedia_) {
        hypermedia_ = hypermedia_factory_();
        if (!hypermedia_) return;
        CHyperMedia* media = hypermedia_.get();
        media->AfterMediaCreate.connect([this](bool& cancel, const std::string& media_code) {
            HyperMedia_AfterMediaCreate(cancel, media_code);
        });
    }
    MediaOpening opening;
    if (auto* values = dynamic_cast<const MediaHostValues*>(global_)) {
        std::tie(opening.value1, opening.value2) = values->MediaValues();
    }
    if (global_ != nullptr) opening.connection_string = global_->ConnectionString();
    opening.media_code = frame_->Recordset()->Field(db::CG62_IDMEDIA_CG99).to_text();
    Cinterface* host = global_ != nullptr ? global_->ActiveInterface() : nullptr;
    if (auto* component = dynamic_cast<HostComponent*>(host)) {
        opening.parent_window = component->hwndParent();
    }
    opening.flag1 = 1;
    opening.flag2 = 0;
    hypermedia_->Open(opening);
}

void CLSCO_CONDPAG::HyperMedia_AfterMediaCreate(bool&, const std::string& media_code) {
    if (frame_ == nullptr || frame_->Recordset() == nullptr) return;
    std::optional<double> number = parse_number(media_code);
    Value code = number ? Value(*number) : Value(media_code);
    // Errors are set aside: the media manager has its item whatever the row says.
    ignore_error_by_design(link_media(*frame_->Recordset(), code));
}

}  // namespace condpag
