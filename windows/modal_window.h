#pragma once
// A secondary window shown modally: the opener builds it, hands in its inputs, shows it, lets a
// person work in it until it asks to close, unloads it and reads its result.

#include <functional>
#include <string>

#include "framework/form.h"
#include "framework/host.h"

namespace condpag {

class ModalWindow : public Form {
  public:
    using Form::Form;

    // Loads the window and activates it for the first time. A load that asked to close the
    // window (an error the user chose not to get past) does not activate it.
    void Show();
    // The window gets the focus back after another window closed over it.
    void Activate();
    // Asks the window whether it may close; when it agrees, unloads it. Answers whether it did.
    bool Unload();
    bool loaded() const { return loaded_; }

  protected:
    virtual void Form_Load() = 0;
    virtual void Form_Activate() = 0;
    virtual void Form_QueryUnload(bool& cancel) { (void)cancel; }
    virtual void Form_Unload() = 0;
    // Hands the host's active frame back to the window underneath, and its status to the host's
    // toolbar, which showed this window's own meanwhile.
    static void give_back_active_frame(Cinterface& host, DataFrame* frame);

  private:
    bool loaded_ = false;
};

// Shows a window modally and returns once it has been unloaded. The Qt shell runs a dialog; a
// headless session drives the window's controls itself.
using ModalRunner = std::function<void(ModalWindow&)>;

// Without a person at the window: show it, then unload it (a refused unload leaves it as is).
void run_without_person(ModalWindow& window);

}  // namespace condpag
