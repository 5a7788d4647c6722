#pragma once
// Choice lists, check boxes, labels, group boxes, command buttons and the tab strip.

#include <string>
#include <vector>

#include "framework/control.h"
#include "rules/value.h"

namespace condpag {

// One item of a choice list: the label shown and the value stored in the bound column.
struct ComboItem {
    std::string label;
    std::string value;  // decimal text of the stored code ("13")
};

class ComboBox : public Control {
  public:
    ComboBox(Form& form, std::string name);

    bool AutoOpen = true;  // opens its list on focus (only shown)

    void EraseCombo();
    void AddItemData(std::string label, const Value& stored);
    const std::vector<ComboItem>& items() const { return items_; }

    // The stored value of the selection, "" when nothing is selected.
    std::string text() const;
    // The label of the selection, "" when nothing is selected.
    std::string label() const;
    // The selected code as a number (0 when nothing is selected).
    double code() const;
    int list_index() const { return index_; }

    // Code: selects the item whose stored value is the same code (13 and "13" alike); a value
    // not in the list (or null) clears the selection. Raises ValueChanged when the selection
    // changes, never Pick.
    void select_value(const Value& stored);
    void set_text(const std::string& stored) { select_value(Value(stored)); }

    // A person chooses an item: ValueChanged (when it differs), then Pick. Answers false when
    // the list is not available or the item does not exist.
    bool user_pick(int index);
    bool user_pick_value(const Value& stored);

    Event<> Pick;                            // a person chose an item
    Event<const std::string&> ValueChanged;  // the shown value changed; the new stored value

  protected:
    // Enter moves on, as Tab does: a list is left with either key.
    bool key_moves_focus(int key, int shift) const override;

  private:
    bool select(int index);
    std::vector<ComboItem> items_;
    int index_ = -1;
};

// A check box: its text is "1" when ticked, "0" otherwise.
class CheckBox : public Control {
  public:
    CheckBox(Form& form, std::string name);

    bool checked() const { return checked_; }
    std::string text() const { return checked_ ? "1" : "0"; }
    // Code: "1" (or any code equal to 1) ticks, anything else clears; raises Change only.
    void set_text(const std::string& text);
    void set_checked(bool on);

    // A person ticks or clears the box: Change, then Click.
    bool user_check(bool on);
    bool user_click() { return user_check(!checked_); }

    Event<> Change;
    Event<> Click;

  private:
    bool checked_ = false;
};

class Label : public Control {
  public:
    Label(Form& form, std::string name, std::string text = "");
    const std::string& text() const { return text_; }
    void set_text(std::string text);
    bool focusable() const override { return false; }

  private:
    std::string text_;
};

class GroupBox : public Control {
  public:
    GroupBox(Form& form, std::string name, std::string text = "");
    const std::string& text() const { return text_; }
    void set_text(std::string text);
    bool focusable() const override { return false; }

  private:
    std::string text_;
};

class CommandButton : public Control {
  public:
    CommandButton(Form& form, std::string name, std::string caption = "");

    const std::string& text() const { return text_; }  // the caption ("&Genera")
    void set_text(std::string caption);

    // A person presses the button: Click, when it is available.
    bool user_click();
    Event<> Click;

  protected:
    bool key_moves_focus(int key, int shift) const override;
    // Enter presses the button.
    void key_default(int key, int shift) override;

  private:
    std::string text_;
};

// The tab strip: the current tab 0..count-1. Click is raised whenever the current tab changes,
// by a person or by code (the windows run their tab rules on it).
class TabStrip : public Control {
  public:
    TabStrip(Form& form, std::string name, std::vector<std::string> captions = {});

    int tab() const { return tab_; }
    int tab_count() const { return static_cast<int>(captions_.size()); }
    const std::vector<std::string>& captions() const { return captions_; }
    void set_captions(std::vector<std::string> captions);

    // Code: moves to a tab (out of range is ignored).
    void set_tab(int tab);
    // A person clicks a tab; refused when the strip is not available.
    bool user_click(int tab);

    Event<> Click;

  private:
    std::vector<std::string> captions_;
    int tab_ = 0;
};

}  // namespace condpag
