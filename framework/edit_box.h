#pragma once
// Edit boxes: plain, numeric and day/month boxes (EditBox), and boxes that look their code up in a
// table (LookupBox).

#include <cstddef>
#include <string>
#include <vector>

#include "framework/control.h"

namespace condpag {

class EditBox : public Control {
  public:
    EditBox(Form& form, std::string name);

    const std::string& text() const { return text_; }
    // Code write: raises Change when the text differs, never a user event.
    void set_text(std::string text);

    // 0 = no limit. Applied to what a person types, not to code writes.
    int max_length() const { return max_length_; }
    void set_max_length(int length);
    bool upper_case() const { return upper_case_; }
    void set_upper_case(bool on);
    // A box that is not editable shows its text but refuses typing.
    bool editable() const { return editable_; }
    void set_editable(bool on);
    bool numeric() const { return numeric_; }
    void set_numeric(bool on);
    // Currency of a numeric box ("EURO"); only shown.
    const std::string& currency() const { return currency_; }
    void set_currency(std::string currency);
    // The validity mark of day and day/month boxes: set by the windows, read back by them. A
    // new text, typed or shown, has not been judged: its mark is valid until set again.
    bool valid() const { return valid_; }
    void set_valid(bool on);

    // A person types: the text replaces the box's text (upper-cased and cut to the maximum
    // length when so set). Refused (answers false) when the box is not available or editable.
    bool user_type(std::string text);
    // A person leaves the box: Validate may cancel (the focus stays), then Leave.
    // Answers false when cancelled. Form::user_focus calls it when the focus moves.
    bool user_leave() override;

    Event<> Change;         // the text changed (by a person or by code)
    Event<bool&> Validate;  // a person leaves the box; Cancel keeps the focus in it
    Event<> Leave;          // a person left the box

  protected:
    bool key_moves_focus(int key, int shift) const override;

  private:
    void apply_text(std::string text);

    std::string text_;
    std::string currency_;
    int max_length_ = 0;
    bool upper_case_ = false;
    bool editable_ = true;
    bool numeric_ = false;
    bool valid_ = true;
};

// One column of a lookup list: its caption and a second attribute the list keeps.
struct LookupColumn {
    std::string caption;
    std::string attribute;
};

// What a lookup box asks before it shows its list; the window fills it in StartLookup.
struct LookupRequest {
    bool cancel = false;
    std::string statement;
    std::vector<LookupColumn> columns;
    std::string title;
    std::string host_text;  // the connection string the lookup runs on
};

class EditBox;
// Where one result column of a decode goes.
struct DecodeTarget {
    std::string column;
    EditBox* box = nullptr;
};

// What a lookup box asks to decode its code; the window fills it in StartDecode.
struct DecodeRequest {
    std::string statement;
    std::vector<DecodeTarget> targets;
    std::string host_text;
};

class LookupBox : public EditBox {
  public:
    LookupBox(Form& form, std::string name);

    const std::string& lookup_name() const { return lookup_name_; }
    void set_lookup_name(std::string name);
    // The lookup switch: off, the box offers no list (it stays an edit box).
    bool lookup_enabled() const { return lookup_enabled_; }
    void enable_lookup(bool on);

    // A person asks for the list (the lookup key or button): StartLookup, then the form's
    // lookup runner runs the statement and lets the person choose. A chosen row puts its first
    // column in the box as if typed, decodes it and raises AfterItem. Answers whether a row was
    // chosen.
    bool user_lookup();
    // A person presses a function key of the box ("Kgestione").
    void user_function_key(const std::string& key_name);
    // Leaving after typing a new code decodes it and raises AfterItem.
    bool user_leave() override;

    // A code written by code is decoded at once; a typed one when the person leaves the box.
    // Decodes the current code again (code: no user event): StartDecode, then the first row of
    // the statement fills the targets; no row (or an empty code) empties them.
    void Decode();

    Event<LookupRequest&> StartLookup;
    Event<DecodeRequest&> StartDecode;
    Event<> AfterItem;                      // a value has been entered or chosen
    Event<const std::string&> FunctionKey;  // key name

  private:
    std::string lookup_name_;
    std::string decoded_text_;  // the text last decoded
    bool lookup_enabled_ = true;
    bool typed_ = false;  // a person typed a code not yet decoded
};

}  // namespace condpag
