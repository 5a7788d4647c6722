#pragma once
// The data frame: binds one record set to a set of controls, a navigator and a grid, and drives
// adding, confirming, saving, undoing and deleting its records, raising the record events in the
// order the windows expect. A header frame carries detail frames.
//
// Binding: the frame copies the current row into its bound controls whenever the row or the
// status changes, through the controls' code entry points (so only value events fire), and
// clears their changed flags; it copies a control into its column when a person edits it,
// unless FieldEvents is off.
//
// Writing: a header frame, and a frame that is nobody's detail, writes its current row when it
// is confirmed; a detail frame keeps confirmed rows in its record set (BatchPending) until
// SaveRows writes them all.

#include <memory>
#include <string>
#include <vector>

#include "framework/event.h"
#include "framework/frame_status.h"
#include "rules/expected.h"
#include "storage/connection.h"
#include "storage/recordset.h"

namespace condpag {

class Cinterface;
class Control;
class EditBox;
class Grid;
class MessageService;
enum class Answer;
class Navigator;
class StdDataFormat;

class DataFrame {
  public:
    explicit DataFrame(std::string name = "");
    ~DataFrame();
    DataFrame(const DataFrame&) = delete;
    DataFrame& operator=(const DataFrame&) = delete;

    const std::string& name() const { return name_; }

    // The frame shows the record set (nullptr: a frame of unbound fields, which only checks).
    // The navigator is joined to the frame; the grid shows the record set.
    void Setup(Cinterface* host, const Connection& connection, condpag::Recordset* recordset,
               std::string source, std::string principal_field, Navigator* navigator, Grid* grid);
    Cinterface* host() const { return host_; }
    condpag::Connection& connection() { return connection_; }
    condpag::Recordset* Recordset() const { return recordset_; }
    const std::string& principal_field() const { return principal_field_; }
    Navigator* navigator() const { return navigator_; }
    Grid* grid() const { return grid_; }

    // Words naming one record in the frame's messages ("la rata"); "" gives "il record".
    std::string RecordNoun;
    // The name host scripts know the frame by.
    std::string Name;

    // The frame's messages go here; by default the host's message object (ClsGlobal).
    void SetMessageService(MessageService* messages) { messages_ = messages; }

    // The control edits the column named by its bound column, through the format object when
    // one is given.
    void BindControl(Control& control, StdDataFormat* format = nullptr);
    // The control holds (part of) the record key: it must be filled, and the key must be new.
    void BindKeyControl(Control& control);
    const std::vector<Control*>& key_controls() const { return key_controls_; }

    // The detail's rows belong to this frame's record: its save, undo and delete cover them.
    void AddDetail(DataFrame& detail);
    const std::vector<DataFrame*>& details() const { return details_; }
    DataFrame* header() const { return header_; }

    // Lets go of the record set, which may then be closed and reopened; Reload takes it again.
    void Release();
    // Shows the record set's rows again (from the first), in view status; ChangeStatus(View,
    // Reloaded). A non-empty text becomes the source text.
    void Reload(const std::string& source = "");
    const std::string& SourceText() const { return source_; }
    void SetSourceText(std::string source) { source_ = std::move(source); }

    // Between the two, moving and writing the record set raises no frame events and shows
    // nothing; ResumeSync shows the current row (the one before SuspendSync when the walk left
    // the set on no row).
    void SuspendSync();
    void ResumeSync();
    // A walk over the record set between the two leaves the frame's current row where it was.
    void BeginRecordsetOperations();
    void EndRecordsetOperations();

    // A row is under edit with changes made by a person (or by the checks' handlers).
    bool RowPending() const;
    // Confirmed rows wait to be written.
    bool BatchPending() const;
    void SetBatchPending(bool on) { batch_pending_ = on; }
    // The begun row counts as edited although the window's code filled it (field events off):
    // it is confirmed and written like a row a person typed, not dropped as left untouched.
    void MarkRowEdited();

    // Settles the row under edit. validate: run the frame's own check and ValidateRecord
    // first. without_asking: confirm at once; false asks the person whether to save (Yes
    // confirms, No drops the changes and succeeds, Cancel fails). report: show the message of a
    // failed check and focus its control. Answers true when nothing is left under edit.
    bool ConfirmRow(bool validate = true, bool without_asking = true, bool report = true);
    // Writes the confirmed rows; a begun row that nobody edited is dropped first. Raises
    // UpdateBatchAll (BatchPending still tells whether rows were written), then clears
    // BatchPending when everything was written. A failure is shown and answered.
    bool SaveRows();

    // A read-only frame refuses edits of its rows; a header still begins a new record.
    bool ReadOnly() const { return read_only_; }
    void SetReadOnly(bool on) { read_only_ = on; }

    // Looks the key of the row under insert up among the record set's other rows. Found: the
    // new row is dropped (drop_new) and the stored row shown in view status (show_found,
    // ChangeStatus(View, Found)). Answers whether it was found.
    bool CheckKey(bool show_found = true, bool drop_new = true);

    FrameStatus Status() const { return status_; }
    // View shows the current row (dropping the row under edit), Search enters search, Insert
    // begins a new row as New does but without BeforeAddNew (the window's code asks, not a
    // person), Change enters change status (as Update).
    void SetStatus(FrameStatus status);
    // Enters change status on the current row; refused on a read-only frame or without a row.
    bool Update();

    bool FieldEvents() const { return field_events_; }
    // Off: writes to the row raise no field events and controls' edits are not copied. Back on:
    // the row is shown again in the controls (their changed flags cleared).
    void SetFieldEvents(bool on);

    // Switches of the frame's own behaviour.
    bool AskBeforeDelete = true;     // "Elimina" asks for confirmation
    bool AskToSaveOnMove = true;     // leaving a changed header row asks whether to save it
    bool ConfirmOnNew = true;        // "Nuovo" on a detail first confirms the row under edit
    bool FollowGrid = true;          // selecting a grid row moves the frame to it
    bool ReportStatusToHost = true;  // an active frame tells the host navigator its status
    // A detail list of a header being begun whose last row is deleted waits, in insert status,
    // for its first row again.
    bool WaitForFirstRow = true;

    // The frame's message for a box marked invalid.
    static std::string InvalidValueMessage(const EditBox& box);

    // Called once at unload; the frame drops every reference it holds.
    void End();

    // Commands of the navigators and the host toolbar. Each answers success.
    bool New();
    bool Save();  // the header's confirm: check, BeforeUpdate, write, AfterUpdate, details
    bool Undo();
    bool Delete();
    bool Search();  // search status: the controls are emptied for the criteria
    bool Find();    // the first row matching the criteria typed in the bound controls
    bool MoveFirst();
    bool MovePrevious();
    bool MoveNext();
    bool MoveLast();
    bool MoveTo(long row);  // 0-based
    // The command of a navigator key ("Nuovo", "Conferma", ...); other keys succeed.
    bool Command(const std::string& key);

    // Shows the current row again in the bound controls.
    void Refresh();
    // The error of the last write that failed.
    const Error& last_error() const { return last_error_; }

    // Record events.
    Event<bool&> BeforeAddNew;                      // Cancel
    Event<bool> AfterAddNew;                        // result
    Event<Control*&, std::string&> ValidateRecord;  // control in/out, message out
    Event<bool&> BeforeUpdate;                      // Cancel
    Event<bool> AfterUpdate;                        // result
    Event<bool&> BeforeDelete;                      // Cancel
    Event<bool> AfterDelete;                        // result
    Event<bool> AfterUndo;                          // result
    Event<bool&> IsRecordChanged;                   // flag in and out
    Event<FrameStatus, ChangeReason> ChangeStatus;
    Event<> UpdateBatchAll;

  private:
    struct Binding {
        Control* control;
        StdDataFormat* format;
    };

    void control_edited(Control& control);
    void show_row();
    std::string number_text(const EditBox& box, double number) const;
    void clear_controls();
    void set_status(FrameStatus status, ChangeReason reason);
    bool settle(bool validate, bool ask_first, bool report);
    bool value_marked_invalid(Control*& control, std::string& message) const;
    bool settle_before_leaving();
    bool begin_row();
    void drop_clean_new_row();
    void cancel_row_edit();
    void pause_walk();
    void resume_walk(long position);
    bool run_checks(bool report);
    bool key_missing(Control*& control, std::string& message) const;
    bool key_taken(Control*& control, std::string& message) const;
    bool write_current_row();
    bool stored_row_changed() const;
    // A save is one transaction; what the frame and its details held before it comes back when
    // the transaction is undone, so the changes wait to be saved again.
    struct KeptForSave;
    std::vector<KeptForSave> keep_for_save();
    bool end_save(bool header_written, bool written, std::vector<KeptForSave>& kept);
    bool writes_at_once() const { return header_ == nullptr; }
    // Whether a deletion leaving `rows_left` rows makes the list wait for its first row again.
    bool waits_for_first_row(long rows_left) const;
    bool begin_row_after_delete();
    void report_error(const Error& error);
    Answer ask(const std::string& text, int style, const std::string& title);
    MessageService* messages() const;
    std::string noun() const;
    Value control_value(const Binding& binding) const;
    void show_control(const Binding& binding, const Value& value);
    bool move_and_show(long position);

    std::string name_;
    Cinterface* host_ = nullptr;
    condpag::Connection connection_;
    condpag::Recordset* recordset_ = nullptr;
    condpag::Recordset* released_ = nullptr;
    std::string source_;
    std::string principal_field_;
    Navigator* navigator_ = nullptr;
    Grid* grid_ = nullptr;
    MessageService* messages_ = nullptr;
    std::vector<Binding> bindings_;
    std::vector<Control*> key_controls_;
    std::vector<DataFrame*> details_;
    DataFrame* header_ = nullptr;
    FrameStatus status_ = FrameStatus::View;
    bool read_only_ = false;
    bool field_events_ = true;
    bool row_dirty_ = false;
    bool batch_pending_ = false;
    int write_attempts_ = 0;  // SaveRows calls, so a save writes each detail once
    int suspended_ = 0;
    long suspended_position_ = 0;
    long operations_position_ = 0;
    bool showing_ = false;
    bool rebegin_on_resume_ = false;  // a begun row nobody edited, dropped for a walk
    long before_new_position_ = 0;
    Error last_error_;
    // Handlers connected to controls and the grid hold this; End() empties it.
    std::shared_ptr<DataFrame*> self_;
};

}  // namespace condpag
