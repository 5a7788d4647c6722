#pragma once
// Navigators: the grid navigator of a detail list and the record navigator of a header. Their
// buttons are known by key; the keys of the data-frame commands drive the navigator's frame:
//   "Nuovo" new row, "Conferma" confirm (a header or stand-alone frame writes it), "Elimina"
//   delete, "Annulla" undo, "Primo" "Precedente" "Successivo" "Ultimo" moves, "Cerca" search,
//   "Trova" find, "Modifica" change status.
// Any other key ("Esporta", "Stampa", "Avanti", "Indietro", added buttons) is the window's.

#include <string>
#include <vector>

#include "framework/control.h"

namespace condpag {

class Cinterface;
class DataFrame;

struct NavigatorButton {
    std::string key;
    std::string caption;
    bool enabled = true;
    bool visible = true;
};

class Navigator : public Control {
  public:
    Navigator(Form& form, std::string name, std::vector<NavigatorButton> buttons);

    void SetInterface(Cinterface* host) { host_ = host; }
    Cinterface* interface() const { return host_; }
    // The frame it drives (the frame's Setup joins them too); nullptr drops it.
    void SetFrame(DataFrame* frame) { frame_ = frame; }
    DataFrame* frame() const { return frame_; }

    const std::vector<NavigatorButton>& buttons() const { return buttons_; }
    bool has_button(const std::string& key) const;
    bool ButtonEnabled(const std::string& key) const;
    void EnableButton(const std::string& key, bool on);
    void ShowButton(const std::string& key, bool on);
    // The button exists, is enabled and shown, and the navigator itself is available.
    bool ButtonAvailable(const std::string& key) const;

    // Whether a key is one of the data-frame commands.
    static bool is_frame_command(const std::string& key);

  protected:
    // Carries out a key on the frame; keys that are not frame commands succeed doing nothing.
    bool run_command(const std::string& key);
    std::vector<NavigatorButton> buttons_;

  private:
    NavigatorButton* button(const std::string& key);
    Cinterface* host_ = nullptr;
    DataFrame* frame_ = nullptr;
};

// Buttons "Nuovo", "Conferma", "Elimina", "Annulla", "Esporta", "Stampa".
class GridNavigator : public Navigator {
  public:
    GridNavigator(Form& form, std::string name);

    // Makes a button the current one and puts the focus on the navigator; it does not press
    // it (Enter or user_press does). Unknown keys are ignored.
    void SelectButton(const std::string& key);
    const std::string& current_button() const { return current_; }

    // A person presses a button: ButtonClick, the frame command, AfterButtonClick(success).
    // Answers the success; an unavailable button does nothing and answers false.
    bool user_click(const std::string& key);
    // A person presses the current button (Enter on the navigator).
    bool user_press();

    Event<const std::string&> ButtonClick;
    Event<bool, const std::string&> AfterButtonClick;

  protected:
    // Enter presses the current button.
    void key_default(int key, int shift) override;

  private:
    std::string current_;
};

// Buttons "Primo", "Precedente", "Successivo", "Ultimo", "Nuovo", "Cerca", "Trova", "Conferma",
// "Elimina", "Annulla", "Indietro", "Avanti", "Esporta" ("Esporta" shown only in called mode).
class RecordNavigator : public Navigator {
  public:
    RecordNavigator(Form& form, std::string name);

    // Adds a button beside an existing one (after it; at the end when it is missing). A key
    // already present is not added twice.
    void AddButton(const std::string& key, const std::string& caption,
                   const std::string& beside_key);
    // Carries out the command of a key as code: no Click, no AfterClick. Answers success.
    bool ExecuteCommand(const std::string& key);

    // Called mode (the window was opened by another program): shows "Esporta".
    bool called() const { return called_; }
    void SetCalled(bool on);

    // A person presses a button: Click, the frame command, AfterClick(success, key).
    bool user_click(const std::string& key);

    Event<const std::string&> Click;
    Event<bool, const std::string&> AfterClick;

  private:
    bool called_ = false;
};

}  // namespace condpag
