#include "framework/data_frame.h"

#include <algorithm>
#include <cctype>
#include <optional>
#include <string>

#include "framework/choice_controls.h"
#include "framework/data_format.h"
#include "framework/edit_box.h"
#include "framework/grid.h"
#include "framework/host.h"
#include "framework/message_service.h"
#include "framework/navigators.h"
#include "rules/italian_format.h"
#include "rules/records.h"

namespace condpag {
namespace {

// A box of amounts, percentages or counts: numeric, and no code looked up in a table (a code
// that is no number simply finds nothing).
bool number_box(const EditBox& box) {
    return box.numeric() && dynamic_cast<const LookupBox*>(&box) == nullptr;
}

// The message refusing what a number box holds, when it holds text that is no number.
std::optional<std::string> unreadable_number(const EditBox& box) {
    if (!number_box(box) || RTrimN(box.text()).empty()) return std::nullopt;
    auto number = LeggiImporto(box.text());
    if (number) return std::nullopt;
    return number.error().message;
}

std::string capitalised(std::string text) {
    if (!text.empty())
        text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return text;
}

// Text a control shows, as it goes to its column.
std::string control_text(const Control& control) {
    if (auto* box = dynamic_cast<const EditBox*>(&control)) return box->text();
    if (auto* list = dynamic_cast<const ComboBox*>(&control)) return list->text();
    if (auto* check = dynamic_cast<const CheckBox*>(&control)) return check->text();
    return {};
}

bool same_key_value(const Value& a, const Value& b) { return RTrimN(a) == RTrimN(b); }

// "a" joined with the article of a noun: "alla condizione", "al record", "all'anno".
std::string to_the(const std::string& noun) {
    static const std::pair<const char*, const char*> kJoined[] = {
        {"la ", "alla "}, {"il ", "al "}, {"lo ", "allo "}, {"l'", "all'"},
        {"le ", "alle "}, {"i ", "ai "},  {"gli ", "agli "}};
    for (const auto& [article, joined] : kJoined) {
        if (noun.rfind(article, 0) == 0) return joined + noun.substr(std::string(article).size());
    }
    return "a " + noun;
}

}  // namespace

DataFrame::DataFrame(std::string name)
    : name_(std::move(name)), self_(std::make_shared<DataFrame*>(this)) {}

DataFrame::~DataFrame() { *self_ = nullptr; }

void DataFrame::Setup(Cinterface* host, const Connection& connection, condpag::Recordset* recordset,
                      std::string source, std::string principal_field, Navigator* navigator,
                      Grid* grid) {
    host_ = host;
    connection_ = connection;
    recordset_ = recordset;
    source_ = std::move(source);
    principal_field_ = std::move(principal_field);
    navigator_ = navigator;
    grid_ = grid;
    if (navigator_ != nullptr) {
        navigator_->SetFrame(this);
        if (navigator_->interface() == nullptr) navigator_->SetInterface(host);
    }
    if (grid_ != nullptr) {
        grid_->set_recordset(recordset_);
        std::weak_ptr<DataFrame*> self = self_;
        grid_->RowSelected.connect([self](long row) {
            auto frame = self.lock();
            if (frame && *frame && (*frame)->FollowGrid) (*frame)->MoveTo(row);
        });
    }
    status_ = FrameStatus::View;
    if (recordset_ != nullptr && recordset_->State() == ObjectState::Open &&
        recordset_->RecordCount() > 0 && recordset_->AbsolutePosition() == 0) {
        recordset_->MoveFirst();
    }
    show_row();
}

void DataFrame::BindControl(Control& control, StdDataFormat* format) {
    bindings_.push_back({&control, format});
    std::weak_ptr<DataFrame*> self = self_;
    Control* bound = &control;
    control.Edited.connect([self, bound] {
        auto frame = self.lock();
        if (frame && *frame) (*frame)->control_edited(*bound);
    });
    // A number box keeps the focus until what it holds can be read as a number.
    if (auto* box = dynamic_cast<EditBox*>(&control); box != nullptr && format == nullptr) {
        box->Validate.connect([self, box](bool& cancel) {
            auto frame = self.lock();
            if (cancel || !frame || !*frame) return;
            if (auto refused = unreadable_number(*box)) {
                (*frame)->ask(*refused, kStyleExclamation, "Attenzione");
                cancel = true;
            }
        });
    }
    show_row();
}

void DataFrame::BindKeyControl(Control& control) {
    if (std::find(key_controls_.begin(), key_controls_.end(), &control) == key_controls_.end()) {
        key_controls_.push_back(&control);
    }
}

void DataFrame::AddDetail(DataFrame& detail) {
    if (std::find(details_.begin(), details_.end(), &detail) != details_.end()) return;
    details_.push_back(&detail);
    detail.header_ = this;
}

void DataFrame::Release() {
    if (recordset_ != nullptr) released_ = recordset_;
    recordset_ = nullptr;
    row_dirty_ = false;
    if (grid_ != nullptr) grid_->set_recordset(nullptr);
}

void DataFrame::Reload(const std::string& source) {
    if (!source.empty()) source_ = source;
    if (recordset_ == nullptr) recordset_ = released_;
    released_ = nullptr;
    if (grid_ != nullptr) grid_->set_recordset(recordset_);
    row_dirty_ = false;
    batch_pending_ = false;
    rebegin_on_resume_ = false;
    if (recordset_ != nullptr && recordset_->State() == ObjectState::Open &&
        recordset_->RecordCount() > 0) {
        recordset_->MoveFirst();
    }
    status_ = FrameStatus::View;
    show_row();
    set_status(FrameStatus::View, ChangeReason::Reloaded);
}

void DataFrame::pause_walk() {
    // A begun row that nobody edited would be kept by the walk's moves; drop it and begin it
    // again afterwards.
    if (recordset_ != nullptr && status_ == FrameStatus::Insert && recordset_->editing() &&
        !row_dirty_) {
        recordset_->CancelUpdate();
        rebegin_on_resume_ = true;
    }
}

void DataFrame::resume_walk(long position) {
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open) return;
    if (rebegin_on_resume_) {
        rebegin_on_resume_ = false;
        recordset_->AddNew();
        show_row();
        AfterAddNew.emit(true);
        // The row is begun anew: the window applies its insert rules to it again.
        set_status(FrameStatus::Insert, ChangeReason::Command);
    } else if (position > 0 && position <= recordset_->RecordCount()) {
        recordset_->SetAbsolutePosition(position);
    } else if (recordset_->AbsolutePosition() == 0 && recordset_->RecordCount() > 0) {
        recordset_->MoveLast();
    }
    show_row();
}

void DataFrame::SuspendSync() {
    if (suspended_++ > 0) return;
    pause_walk();
    suspended_position_ = recordset_ != nullptr ? recordset_->AbsolutePosition() : 0;
}

void DataFrame::ResumeSync() {
    if (suspended_ == 0 || --suspended_ > 0) return;
    resume_walk(suspended_position_);
}

void DataFrame::BeginRecordsetOperations() {
    pause_walk();
    operations_position_ = recordset_ != nullptr ? recordset_->AbsolutePosition() : 0;
    ++suspended_;
}

void DataFrame::EndRecordsetOperations() {
    if (suspended_ > 0) --suspended_;
    if (suspended_ == 0) resume_walk(operations_position_);
}

bool DataFrame::RowPending() const { return row_dirty_; }

void DataFrame::MarkRowEdited() {
    if (recordset_ != nullptr && recordset_->State() == ObjectState::Open && recordset_->editing())
        row_dirty_ = true;
}

bool DataFrame::BatchPending() const {
    if (batch_pending_) return true;
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open) return false;
    // While a row is begun in insert status the set's own answer counts that row too; the
    // confirmed rows are then known from the flag only.
    if (status_ == FrameStatus::Insert && recordset_->editing()) return false;
    if (status_ == FrameStatus::Change && recordset_->editing()) return false;
    return recordset_->pending();
}

MessageService* DataFrame::messages() const {
    if (messages_ != nullptr) return messages_;
    if (host_ != nullptr && host_->ClsGlobal() != nullptr)
        return host_->ClsGlobal()->MessageObject();
    return nullptr;
}

Answer DataFrame::ask(const std::string& text, int style, const std::string& title) {
    if (MessageService* service = messages()) return service->ShowMessage(text, style, title);
    int buttons = StyleButtons(style);
    return buttons == kStyleYesNo || buttons == kStyleYesNoCancel ? Answer::Yes : Answer::Ok;
}

std::string DataFrame::noun() const {
    std::string words(trimmed(RecordNoun));
    return words.empty() ? "il record" : words;
}

void DataFrame::report_error(const Error& error) {
    last_error_ = error;
    ask(error.message, kStyleStop, "Attenzione");
}

Value DataFrame::control_value(const Binding& binding) const {
    std::string text = control_text(*binding.control);
    if (binding.format != nullptr) return binding.format->unformat(Value(text));
    if (text.empty()) return Value();
    // A number typed the Italian way ("1.234,50") is stored as the number it reads as.
    if (auto* box = dynamic_cast<const EditBox*>(binding.control);
        box != nullptr && number_box(*box)) {
        if (auto number = LeggiImporto(text)) return Value(*number);
    }
    return Value(text);
}

std::string DataFrame::number_text(const EditBox& box, double number) const {
    if (!box.currency().empty()) return FormattaImporto(number);
    const ColumnDef* column =
        recordset_ != nullptr ? column_def(recordset_->table(), box.bound_column()) : nullptr;
    if (column != nullptr && !column->format.empty()) return FormattaNumero(number, column->format);
    return FormattaDecimale(number);
}

void DataFrame::show_control(const Binding& binding, const Value& value) {
    Control& control = *binding.control;
    Value shown = binding.format != nullptr ? binding.format->format(value) : value;
    if (auto* box = dynamic_cast<EditBox*>(&control)) {
        // Numbers read with a decimal comma: amounts as "#,##0.00", columns with a display
        // format in it, the others as they are.
        if (number_box(*box) && binding.format == nullptr && shown.is_number()) {
            box->set_text(number_text(*box, shown.number()));
        } else {
            box->set_text(shown.to_text());
        }
    } else if (auto* list = dynamic_cast<ComboBox*>(&control)) {
        list->select_value(shown);
    } else if (auto* check = dynamic_cast<CheckBox*>(&control)) {
        check->set_text(shown.to_text());
    } else if (auto* label = dynamic_cast<Label*>(&control)) {
        label->set_text(shown.to_text());
    }
    control.set_changed(false);
}

void DataFrame::show_row() {
    // Without a record set the fields keep what the window put in them.
    if (suspended_ > 0 || showing_ || recordset_ == nullptr) return;
    showing_ = true;
    Record record;
    bool on_row = recordset_ != nullptr && recordset_->State() == ObjectState::Open &&
                  !recordset_->IsEOF() && !recordset_->IsBOF();
    if (on_row && status_ != FrameStatus::Search) record = recordset_->current_record();
    for (const Binding& binding : bindings_) {
        if (binding.control->bound_column().empty()) continue;
        show_control(binding, field(record, binding.control->bound_column()));
    }
    showing_ = false;
    if (grid_ != nullptr) grid_->refresh();
}

void DataFrame::clear_controls() {
    if (recordset_ == nullptr) return;
    showing_ = true;
    for (const Binding& binding : bindings_) {
        if (binding.control->bound_column().empty()) continue;
        show_control(binding, Value());
    }
    showing_ = false;
}

void DataFrame::Refresh() { show_row(); }

void DataFrame::set_status(FrameStatus status, ChangeReason reason) {
    status_ = status;
    if (ReportStatusToHost && host_ != nullptr && host_->ActiveFrame() == this &&
        host_->ActiveNavigator() != nullptr) {
        host_->ActiveNavigator()->SetStatus(status);
    }
    if (navigator_ != nullptr) navigator_->SetFrame(this);
    ChangeStatus.emit(status, reason);
}

void DataFrame::control_edited(Control& control) {
    if (!field_events_ || suspended_ > 0 || showing_) return;
    const Binding* binding = nullptr;
    for (const Binding& b : bindings_) {
        if (b.control == &control) binding = &b;
    }
    if (binding == nullptr) return;
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open ||
        control.bound_column().empty()) {
        // Unbound fields: the frame only knows something was edited.
        row_dirty_ = true;
        return;
    }
    if (status_ == FrameStatus::Search) return;  // search criteria stay in the controls
    if (recordset_->IsEOF() || recordset_->IsBOF()) return;
    if (read_only_) {
        show_row();
        return;
    }
    if (status_ == FrameStatus::View) set_status(FrameStatus::Change, ChangeReason::Command);
    recordset_->SetField(control.bound_column(), control_value(*binding));
    row_dirty_ = true;
    if (grid_ != nullptr) grid_->refresh();
}

void DataFrame::SetFieldEvents(bool on) {
    field_events_ = on;
    if (on) show_row();
}

bool DataFrame::key_missing(Control*& control, std::string& message) const {
    for (Control* key : key_controls_) {
        const Binding* binding = nullptr;
        for (const Binding& b : bindings_) {
            if (b.control == key) binding = &b;
        }
        Value value = binding != nullptr ? control_value(*binding) : Value(control_text(*key));
        if (!RTrimN(value).empty()) continue;
        control = key;
        message = key->caption().empty() ? "Indicare la chiave di " + noun() + "."
                                         : "Il campo \"" + key->caption() + "\" è obbligatorio.";
        return true;
    }
    return false;
}

bool DataFrame::key_taken(Control*& control, std::string& message) const {
    if (recordset_ == nullptr || key_controls_.empty() || recordset_->AbsolutePosition() == 0) {
        return false;
    }
    Record current = recordset_->current_record();
    long here = recordset_->AbsolutePosition() - 1;
    std::vector<Record> rows = recordset_->records();
    for (long i = 0; i < static_cast<long>(rows.size()); ++i) {
        if (i == here) continue;
        bool same = std::all_of(key_controls_.begin(), key_controls_.end(), [&](Control* key) {
            return same_key_value(field(rows[i], key->bound_column()),
                                  field(current, key->bound_column()));
        });
        if (same) {
            control = key_controls_.front();
            message = capitalised(noun()) + " con questa chiave è già esistente.";
            return true;
        }
    }
    return false;
}

// A box that its window marked invalid (a day or day/month that does not exist) keeps the row
// from being confirmed, so a malformed value never reaches the database.
bool DataFrame::value_marked_invalid(Control*& control, std::string& message) const {
    for (const Binding& binding : bindings_) {
        auto* box = dynamic_cast<const EditBox*>(binding.control);
        if (box != nullptr && binding.format == nullptr && box->visible()) {
            if (auto refused = unreadable_number(*box)) {
                control = binding.control;
                message = *refused;
                return true;
            }
        }
        if (box == nullptr || box->valid() || !box->visible() || RTrimN(box->text()).empty()) {
            continue;
        }
        control = binding.control;
        message = InvalidValueMessage(*box);
        return true;
    }
    return false;
}

std::string DataFrame::InvalidValueMessage(const EditBox& box) {
    return box.caption().empty()
               ? "Valore non valido: \"" + RTrimN(box.text()) + "\"."
               : "Il campo \"" + box.caption() + "\" non contiene un valore valido.";
}

bool DataFrame::run_checks(bool report) {
    Control* control = nullptr;
    std::string message;
    if (!key_missing(control, message) && !value_marked_invalid(control, message) &&
        status_ == FrameStatus::Insert) {
        key_taken(control, message);
    }
    ValidateRecord.emit(control, message);
    if (control == nullptr && message.empty()) return true;
    if (report) {
        if (!message.empty()) ask(message, kStyleExclamation, "Attenzione");
        if (control != nullptr) control->SetTextFocus();
    }
    return false;
}

bool DataFrame::write_current_row() {
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open) return true;
    recordset_->Update();
    auto report = recordset_->UpdateBatch(BatchScope::CurrentRow);
    if (!report) {
        report_error({"Impossibile salvare " + noun() + ": " + report.error().message,
                      report.error().statement});
        return false;
    }
    if (report->conflicts > 0) {
        report_error({"Impossibile salvare " + noun() +
                          ": i dati sono stati modificati da un altro utente. Ricaricarli prima "
                          "di continuare.",
                      recordset_->Source()});
        return false;
    }
    if (!report->errors.empty()) {
        report_error({"Impossibile salvare " + noun() + ": " + report->errors.front().message,
                      report->errors.front().statement});
        return false;
    }
    return true;
}

void DataFrame::drop_clean_new_row() {
    if (recordset_ != nullptr && status_ == FrameStatus::Insert && recordset_->editing() &&
        !row_dirty_) {
        recordset_->CancelUpdate();
        if (before_new_position_ > 0 && before_new_position_ <= recordset_->RecordCount()) {
            recordset_->SetAbsolutePosition(before_new_position_);
        }
    }
}

bool DataFrame::settle(bool validate, bool ask_first, bool report) {
    bool changed = RowPending();
    if (writes_at_once()) IsRecordChanged.emit(changed);
    if (!changed) return true;
    if (ask_first) {
        Answer answer = ask("Salvare le modifiche apportate " + to_the(noun()) + "?",
                            kStyleYesNoCancel | kStyleQuestion, "Conferma");
        if (answer == Answer::No) return Undo();
        if (answer != Answer::Yes) return false;
    }
    if (writes_at_once()) return Save();
    if (validate && !run_checks(report)) return false;
    bool cancel = false;
    BeforeUpdate.emit(cancel);
    if (cancel) return false;
    if (recordset_ != nullptr) recordset_->Update();
    batch_pending_ = recordset_ != nullptr;
    row_dirty_ = false;
    AfterUpdate.emit(true);
    status_ = FrameStatus::View;
    show_row();
    set_status(FrameStatus::View, ChangeReason::Saved);
    return true;
}

bool DataFrame::ConfirmRow(bool validate, bool without_asking, bool report) {
    return settle(validate, !without_asking, report);
}

bool DataFrame::settle_before_leaving() {
    bool ok = writes_at_once() ? settle(true, AskToSaveOnMove, true) : settle(true, false, true);
    if (ok) drop_clean_new_row();
    return ok;
}

bool DataFrame::SaveRows() {
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open) return true;
    if (!BatchPending() && !RowPending()) return true;
    ++write_attempts_;
    drop_clean_new_row();
    if (status_ == FrameStatus::Insert || status_ == FrameStatus::Change)
        status_ = FrameStatus::View;
    batch_pending_ = true;
    bool ok = true;
    auto report = recordset_->UpdateBatch(BatchScope::AllRows);
    if (!report) {
        ok = false;
        report_error({"Impossibile salvare " + noun() + ": " + report.error().message,
                      report.error().statement});
    } else if (report->conflicts > 0) {
        ok = false;
        report_error({"Impossibile salvare " + noun() +
                          ": i dati sono stati modificati da un altro utente. Ricaricarli prima "
                          "di continuare.",
                      recordset_->Source()});
    } else if (!report->errors.empty()) {
        ok = false;
        report_error({"Impossibile salvare " + noun() + ": " + report->errors.front().message,
                      report->errors.front().statement});
    }
    if (ok) row_dirty_ = false;
    UpdateBatchAll.emit();
    if (ok) batch_pending_ = false;
    show_row();
    return ok;
}

bool DataFrame::stored_row_changed() const {
    return recordset_ != nullptr && recordset_->State() == ObjectState::Open &&
           recordset_->row_state() == RowState::Changed;
}

struct DataFrame::KeptForSave {
    DataFrame* frame;
    std::shared_ptr<const condpag::Recordset::Kept> rows;
    FrameStatus status;
    bool batch_pending;
    bool row_dirty;
};

bool DataFrame::Save() {
    if (!writes_at_once()) return settle(true, false, true);
    // Columns written by the window's handlers (field events off) are no person's edit, yet the
    // row differs from what is stored and goes with the save.
    bool changed = RowPending() || status_ == FrameStatus::Insert ||
                   status_ == FrameStatus::Change || stored_row_changed();
    IsRecordChanged.emit(changed);
    if (!changed) return true;
    // The window settles its detail rows first, so that the checks see what they add up to.
    bool cancel = false;
    BeforeUpdate.emit(cancel);
    if (cancel) return false;
    if (!run_checks(true)) return false;
    std::vector<KeptForSave> kept = keep_for_save();
    // The header row and every detail row are stored together or not at all. A transaction
    // someone else opened on the connection is theirs to end.
    const bool own_transaction =
        connection_.State() == ObjectState::Open && !connection_.in_transaction();
    if (own_transaction) {
        if (auto begun = connection_.BeginTrans(); !begun) {
            report_error({"Impossibile salvare " + noun() + ": " + begun.error().message +
                              ". Non è stato salvato nulla.",
                          begun.error().statement});
            return false;
        }
    }
    bool ok = write_current_row();
    if (ok) row_dirty_ = false;
    std::vector<int> attempts;
    for (DataFrame* detail : details_) attempts.push_back(detail->write_attempts_);
    AfterUpdate.emit(ok);
    // Details the window did not write in AfterUpdate are written here; one that already failed
    // keeps its rows pending and is not tried (and reported) a second time.
    bool details_written = ok;
    for (std::size_t i = 0; ok && i < details_.size(); ++i) {
        DataFrame* detail = details_[i];
        bool pending = detail->BatchPending() || detail->RowPending();
        if (pending && detail->write_attempts_ == attempts[i]) pending = !detail->SaveRows();
        if (pending) details_written = false;
    }
    if (own_transaction && !end_save(ok, details_written, kept)) return false;
    if (!ok) return false;
    status_ = FrameStatus::View;
    show_row();
    set_status(FrameStatus::View, ChangeReason::Saved);
    return details_written;
}

std::vector<DataFrame::KeptForSave> DataFrame::keep_for_save() {
    std::vector<KeptForSave> kept;
    std::vector<DataFrame*> frames{this};
    frames.insert(frames.end(), details_.begin(), details_.end());
    for (DataFrame* frame : frames) {
        if (frame->recordset_ == nullptr) continue;
        kept.push_back({frame, frame->recordset_->Keep(), frame->status_, frame->batch_pending_,
                        frame->row_dirty_});
    }
    return kept;
}

// Commits a save whose rows were all written; otherwise, or when the commit fails, undoes it and
// puts every frame back as it was before the save.
bool DataFrame::end_save(bool header_written, bool written, std::vector<KeptForSave>& kept) {
    condpag::Status ended = written ? connection_.CommitTrans() : connection_.RollbackTrans();
    if (written && ended) return true;
    for (KeptForSave& k : kept) {
        if (k.frame->recordset_ != nullptr) k.frame->recordset_->Restore(*k.rows);
        k.frame->status_ = k.status;
        k.frame->batch_pending_ = k.batch_pending;
        k.frame->row_dirty_ = k.row_dirty;
        k.frame->show_row();
    }
    if (written) {
        report_error({"Impossibile salvare " + noun() +
                          ": la conferma del salvataggio non è riuscita (" + ended.error().message +
                          "). Non è stato salvato nulla: le modifiche restano da salvare.",
                      ended.error().statement});
    } else if (header_written) {
        // The detail that failed said why; the header row it came with is not stored either.
        report_error({"Impossibile salvare " + noun() +
                          ": non è stato salvato nulla, le modifiche restano da salvare.",
                      "ROLLBACK"});
    }
    return false;
}

// Drops the edit of the current row; a new row goes, and the row shown before it comes back. A
// walk over the set (re-keying) ends a begun row as any move does: it is still the new row, and
// it goes all the same.
void DataFrame::cancel_row_edit() {
    bool was_new = status_ == FrameStatus::Insert && recordset_->row_state() == RowState::New;
    long count = recordset_->RecordCount();
    recordset_->CancelUpdate();
    if (was_new && recordset_->RecordCount() == count) recordset_->Delete();
    if (was_new && before_new_position_ > 0 && before_new_position_ <= recordset_->RecordCount()) {
        recordset_->SetAbsolutePosition(before_new_position_);
    }
}

bool DataFrame::Undo() {
    if (recordset_ != nullptr && recordset_->State() == ObjectState::Open) cancel_row_edit();
    row_dirty_ = false;
    status_ = FrameStatus::View;
    show_row();
    AfterUndo.emit(true);
    set_status(FrameStatus::View, ChangeReason::Undone);
    return true;
}

bool DataFrame::waits_for_first_row(long rows_left) const {
    return WaitForFirstRow && header_ != nullptr && header_->Status() == FrameStatus::Insert &&
           recordset_->RecordCount() == rows_left;
}

// The list of a header being begun lost its last row: a fresh one waits in insert status, so
// the window hears of a deletion that leaves only an unsaved row.
bool DataFrame::begin_row_after_delete() {
    if (!begin_row()) return false;
    AfterDelete.emit(true);
    return true;
}

bool DataFrame::Delete() {
    if (read_only_ || recordset_ == nullptr || recordset_->State() != ObjectState::Open ||
        recordset_->AbsolutePosition() == 0) {
        return false;
    }
    if (status_ == FrameStatus::Insert && recordset_->row_state() == RowState::New) {
        if (!waits_for_first_row(1)) return Undo();
        // The new row is all the list holds: it goes, and a fresh one waits in its place. (The
        // fresh row would replace it anyway; dropping it first keeps nothing of it pending.)
        cancel_row_edit();
        row_dirty_ = false;
        return begin_row_after_delete();
    }
    if (AskBeforeDelete && ask("Eliminare " + noun() + "?", kStyleYesNo | kStyleQuestion,
                               "Conferma eliminazione") != Answer::Yes) {
        return false;
    }
    bool cancel = false;
    BeforeDelete.emit(cancel);
    if (cancel) return false;
    long position = recordset_->AbsolutePosition();
    recordset_->CancelUpdate();
    recordset_->Delete();
    bool ok = true;
    if (writes_at_once()) {
        // Only the deleted row is pending in a header set; the whole batch is that row.
        auto report = recordset_->UpdateBatch(BatchScope::AllRows);
        if (!report) {
            ok = false;
            report_error({"Impossibile eliminare " + noun() + ": " + report.error().message,
                          report.error().statement});
        } else if (report->conflicts > 0) {
            ok = false;
            report_error({"Impossibile eliminare " + noun() +
                              ": i dati sono stati modificati da un altro utente. Ricaricarli "
                              "prima di continuare.",
                          recordset_->Source()});
        } else if (!report->errors.empty()) {
            ok = false;
            report_error({"Impossibile eliminare " + noun() + ": " + report->errors.front().message,
                          report->errors.front().statement});
        }
        // A row that is still stored stays in the set, shown, and is not deleted by a later
        // write of the batch.
        if (!ok) recordset_->RestoreDeleted();
    } else {
        batch_pending_ = true;
    }
    row_dirty_ = false;
    if (ok && waits_for_first_row(0)) return begin_row_after_delete();
    AfterDelete.emit(ok);
    long count = recordset_->RecordCount();
    if (count > 0) recordset_->SetAbsolutePosition(std::min(position, count));
    status_ = FrameStatus::View;
    show_row();
    set_status(FrameStatus::View, ChangeReason::Deleted);
    return ok;
}

bool DataFrame::New() {
    // A new record leaves the shown one untouched, so a read-only header may begin one (the
    // window lifts the read-only state for it); a read-only detail list takes no new rows.
    if (read_only_ && !writes_at_once()) return false;
    // While its header searches, a detail list holds no rows.
    if (header_ != nullptr && header_->Status() == FrameStatus::Search) return false;
    if (!settle_before_leaving()) return false;
    bool cancel = false;
    BeforeAddNew.emit(cancel);
    if (cancel) return false;
    return begin_row();
}

bool DataFrame::begin_row() {
    if (status_ == FrameStatus::Insert && !row_dirty_ && recordset_ != nullptr &&
        recordset_->editing()) {
        return true;  // a begun row already waits
    }
    if (!settle_before_leaving()) return false;
    row_dirty_ = false;
    if (recordset_ != nullptr && recordset_->State() == ObjectState::Open) {
        before_new_position_ = recordset_->AbsolutePosition();
        recordset_->AddNew();
    }
    status_ = FrameStatus::Insert;
    show_row();
    AfterAddNew.emit(true);
    show_row();
    set_status(FrameStatus::Insert, ChangeReason::Command);
    return true;
}

bool DataFrame::move_and_show(long position) {
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open) return false;
    if (!settle_before_leaving()) return false;
    long count = recordset_->RecordCount();
    if (count == 0) return false;
    position = std::clamp(position, 1L, count);
    if (recordset_->editing()) recordset_->CancelUpdate();
    recordset_->SetAbsolutePosition(position);
    row_dirty_ = false;
    status_ = FrameStatus::View;
    show_row();
    set_status(FrameStatus::View, ChangeReason::Moved);
    return true;
}

bool DataFrame::MoveFirst() { return move_and_show(1); }

bool DataFrame::MoveLast() {
    return recordset_ != nullptr && move_and_show(recordset_->RecordCount());
}

bool DataFrame::MoveNext() {
    if (recordset_ == nullptr) return false;
    long here = recordset_->AbsolutePosition();
    if (here > 0 && here >= recordset_->RecordCount() && status_ == FrameStatus::View) return false;
    return move_and_show(here + 1);
}

bool DataFrame::MovePrevious() {
    if (recordset_ == nullptr) return false;
    long here = recordset_->AbsolutePosition();
    if (here <= 1 && status_ == FrameStatus::View) return false;
    return move_and_show(here - 1);
}

bool DataFrame::MoveTo(long row) {
    if (recordset_ == nullptr) return false;
    if (row + 1 == recordset_->AbsolutePosition() && status_ == FrameStatus::View) return true;
    return move_and_show(row + 1);
}

bool DataFrame::Search() {
    if (!settle_before_leaving()) return false;
    if (recordset_ != nullptr && recordset_->editing()) recordset_->CancelUpdate();
    row_dirty_ = false;
    status_ = FrameStatus::Search;
    clear_controls();
    set_status(FrameStatus::Search, ChangeReason::Command);
    return true;
}

bool DataFrame::Find() {
    if (status_ != FrameStatus::Search || recordset_ == nullptr ||
        recordset_->State() != ObjectState::Open) {
        return false;
    }
    struct Criterion {
        std::string column;
        std::string text;
        bool key;
        bool check;
    };
    std::vector<Criterion> criteria;
    for (const Binding& binding : bindings_) {
        const std::string& column = binding.control->bound_column();
        bool check = dynamic_cast<const CheckBox*>(binding.control) != nullptr;
        // A check box always shows a value; it asks only once a person has set it.
        if (check && !binding.control->changed()) continue;
        std::string text = RTrimN(control_value(binding));
        if (column.empty() || text.empty()) continue;
        bool key = std::find(key_controls_.begin(), key_controls_.end(), binding.control) !=
                   key_controls_.end();
        criteria.push_back({column, text, key, check});
    }
    std::vector<Record> rows = recordset_->records();
    for (size_t i = 0; i < rows.size(); ++i) {
        bool match = std::all_of(criteria.begin(), criteria.end(), [&](const Criterion& c) {
            const Value& stored = field(rows[i], c.column);
            // A flag never set is not ticked.
            if (c.check) return same_code(stored, Value(1)) == (c.text == "1");
            std::string value = RTrimN(stored);
            // Key fields match whole; other fields by their beginning.
            // Key fields match whole, as codes ("01" is not "1"); other fields by their
            // beginning.
            return c.key ? value == c.text : value.compare(0, c.text.size(), c.text) == 0;
        });
        if (!match) continue;
        recordset_->SetAbsolutePosition(static_cast<long>(i) + 1);
        status_ = FrameStatus::View;
        show_row();
        set_status(FrameStatus::View, ChangeReason::Found);
        return true;
    }
    ask("Nessun record corrisponde ai criteri indicati.", kStyleInformation, "Informazione");
    return false;
}

bool DataFrame::CheckKey(bool show_found, bool drop_new) {
    if (recordset_ == nullptr || recordset_->State() != ObjectState::Open ||
        key_controls_.empty() || recordset_->AbsolutePosition() == 0) {
        return false;
    }
    Record current = recordset_->current_record();
    bool blank = std::all_of(key_controls_.begin(), key_controls_.end(), [&](Control* key) {
        return RTrimN(field(current, key->bound_column())).empty();
    });
    if (blank) return false;
    long here = recordset_->AbsolutePosition() - 1;
    std::vector<Record> rows = recordset_->records();
    long found = -1;
    for (long i = 0; i < static_cast<long>(rows.size()) && found < 0; ++i) {
        if (i == here) continue;
        bool same = std::all_of(key_controls_.begin(), key_controls_.end(), [&](Control* key) {
            return same_key_value(field(rows[i], key->bound_column()),
                                  field(current, key->bound_column()));
        });
        if (same) found = i;
    }
    if (found < 0) {
        show_row();  // the key may have been written to the row by the window itself
        return false;
    }
    if (!show_found) return true;
    if (drop_new && status_ == FrameStatus::Insert && recordset_->row_state() == RowState::New) {
        // The row under insert goes, whether still begun or already ended; after a cancel the
        // set stands on another row, which may be a confirmed one waiting in the batch.
        long count = recordset_->RecordCount();
        recordset_->CancelUpdate();
        if (recordset_->RecordCount() == count) recordset_->Delete();
        if (found > here) --found;
    }
    recordset_->SetAbsolutePosition(found + 1);
    row_dirty_ = false;
    status_ = FrameStatus::View;
    show_row();
    set_status(FrameStatus::View, ChangeReason::Found);
    return true;
}

void DataFrame::SetStatus(FrameStatus status) {
    switch (status) {
        case FrameStatus::View:
            if (recordset_ != nullptr &&
                (status_ == FrameStatus::Insert || status_ == FrameStatus::Change)) {
                cancel_row_edit();
            }
            row_dirty_ = false;
            status_ = FrameStatus::View;
            show_row();
            set_status(FrameStatus::View, ChangeReason::Command);
            break;
        case FrameStatus::Search:
            if (recordset_ != nullptr) drop_clean_new_row();
            if (recordset_ != nullptr && recordset_->editing()) recordset_->CancelUpdate();
            row_dirty_ = false;
            status_ = FrameStatus::Search;
            clear_controls();
            set_status(FrameStatus::Search, ChangeReason::Command);
            break;
        case FrameStatus::Insert:
            begin_row();
            break;
        case FrameStatus::Change:
            Update();
            break;
    }
}

bool DataFrame::Update() {
    if (read_only_ || recordset_ == nullptr || recordset_->State() != ObjectState::Open ||
        recordset_->AbsolutePosition() == 0 || status_ == FrameStatus::Insert ||
        status_ == FrameStatus::Search) {
        return false;
    }
    if (status_ != FrameStatus::Change) set_status(FrameStatus::Change, ChangeReason::Command);
    return true;
}

void DataFrame::End() {
    *self_ = nullptr;
    if (navigator_ != nullptr && navigator_->frame() == this) navigator_->SetFrame(nullptr);
    if (grid_ != nullptr) grid_->set_recordset(nullptr);
    bindings_.clear();
    key_controls_.clear();
    details_.clear();
    recordset_ = nullptr;
    released_ = nullptr;
    navigator_ = nullptr;
    grid_ = nullptr;
    host_ = nullptr;
    messages_ = nullptr;
}

bool DataFrame::Command(const std::string& key) {
    if (key == "Nuovo") return New();
    if (key == "Conferma") return writes_at_once() ? Save() : ConfirmRow(true, true, true);
    if (key == "Elimina") return Delete();
    if (key == "Annulla") return Undo();
    if (key == "Primo") return MoveFirst();
    if (key == "Precedente") return MovePrevious();
    if (key == "Successivo") return MoveNext();
    if (key == "Ultimo") return MoveLast();
    if (key == "Cerca") return Search();
    if (key == "Trova") return Find();
    if (key == "Modifica") return Update();
    return true;
}

}  // namespace condpag
