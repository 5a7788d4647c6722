#include "component/CLSCO_CONDPAG.h"

#include <cmath>
#include <limits>
#include <optional>

#include "editor/FRMCO_CONDPAG.h"

namespace condpag {

namespace {

// A whole number within 32 bits, rounded half to even as the host converts; nullopt for a value
// that is no number or does not fit.
std::optional<std::int32_t> whole_number(const Value& value) {
    std::optional<double> number = value.to_number();
    if (!number || !std::isfinite(*number)) return std::nullopt;
    double rounded = std::nearbyint(*number);
    if (rounded < std::numeric_limits<std::int32_t>::min() ||
        rounded > std::numeric_limits<std::int32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(rounded);
}

bool fits_16_bits(std::int32_t value) {
    return value >= std::numeric_limits<std::int16_t>::min() &&
           value <= std::numeric_limits<std::int16_t>::max();
}

}  // namespace

CLSCO_CONDPAG::CLSCO_CONDPAG()
    : dll_(this),
      hypermedia_factory_([] { return std::make_unique<HeadlessHyperMedia>(); }),
      listening_(std::make_shared<CLSCO_CONDPAG*>(this)) {}

CLSCO_CONDPAG::~CLSCO_CONDPAG() {
    // A window still open is unloaded first, so that the host's services keep no reference to
    // it or to this component.
    unload_open_windows();
    menu_ = nullptr;
    global_ = nullptr;
    SetActiveNavigator(nullptr);
    *listening_ = nullptr;
    dll_ = nullptr;
    release_windows(false);
}

void CLSCO_CONDPAG::SetActiveNavigator(HostNavigator* navigator) {
    *listening_ = nullptr;
    listening_ = std::make_shared<CLSCO_CONDPAG*>(this);
    navigator_ = navigator;
    auto* events = dynamic_cast<NavigatorEvents*>(navigator);
    if (events == nullptr) return;
    std::shared_ptr<CLSCO_CONDPAG*> token = listening_;
    events->BeforeExportToOffice.connect([token](bool& cancel, ExportObject& export_object) {
        if (*token) (*token)->Navigator_BeforeExportToOffice(cancel, export_object);
    });
    events->BeforeChangeDitta.connect([token](bool& cancel) {
        if (*token) (*token)->Navigator_BeforeChangeDitta(cancel);
    });
    events->ChangeDitta.connect([token](bool& cancel) {
        if (*token) (*token)->Navigator_ChangeDitta(cancel);
    });
    events->InitializeLayoutObjectModel.connect([token](bool& cancel, LayoutObjectModel& layout) {
        if (*token) (*token)->Navigator_InitializeLayoutObjectModel(cancel, layout);
    });
    events->InitializeScriptObjectModel.connect([token](bool& cancel, ScriptObjectModel& script) {
        if (*token) (*token)->Navigator_InitializeScriptObjectModel(cancel, script);
    });
    events->ButtonPressed.connect([token](bool& cancel, int button) {
        if (*token) (*token)->Navigator_ButtonPressed(cancel, button);
    });
}

void CLSCO_CONDPAG::SetWindowState(std::int32_t state) {
    if (fits_16_bits(state)) window_state_ = static_cast<std::int16_t>(state);
}

void CLSCO_CONDPAG::SetProgramMode(std::int32_t mode) {
    if (fits_16_bits(mode)) program_mode_ = static_cast<std::int16_t>(mode);
}

void CLSCO_CONDPAG::SetTop(const Value& top) {
    if (auto number = whole_number(top)) top_ = *number;
}

void CLSCO_CONDPAG::SetLeft(const Value& left) {
    if (auto number = whole_number(left)) left_ = *number;
}

}  // namespace condpag
