#pragma once
// The whole host interface of a component the host creates by identifier: what the windows read
// (Cinterface) plus what only the host sets, and the operations that show and close the
// component's window. The host shell drives every component through this.

#include <cstdint>
#include <string>

#include "framework/host.h"
#include "rules/value.h"

namespace condpag {

class Form;
class StatusBar;

class HostComponent : public Cinterface {
  public:
    virtual void SetClsGlobal(condpag::ClsGlobal* global) = 0;
    // A new navigator replaces the old one: the old one's events no longer reach the component.
    virtual void SetActiveNavigator(HostNavigator* navigator) = 0;
    // The active DLL as an object: the interface the window receives as its host.
    virtual Cinterface* ActiveDllObject() const = 0;
    virtual void SetActiveDllObject(Cinterface* dll) = 0;
    virtual condpag::StatusBar* StatusBar() const = 0;
    virtual void SetStatusBar(condpag::StatusBar* bar) = 0;
    virtual void SetClsVoceMenu(MenuEntry* menu) = 0;

    virtual bool CanInsert() const = 0;
    virtual void SetCanInsert(bool on) = 0;
    virtual bool CanDelete() const = 0;
    virtual void SetCanDelete(bool on) = 0;
    virtual bool CanUpdate() const = 0;
    virtual void SetCanUpdate(bool on) = 0;
    virtual bool CanQbe() const = 0;
    virtual void SetCanQbe(bool on) = 0;

    // Given as 32-bit integers, kept as 16-bit: a value out of that range is refused.
    virtual int WindowState() const = 0;
    virtual void SetWindowState(std::int32_t state) = 0;
    virtual void SetProgramMode(std::int32_t mode) = 0;
    virtual void SetWindowModal(bool modal) = 0;

    virtual Value MenuModulo() const = 0;
    virtual void SetMenuModulo(Value value) = 0;
    virtual Value MenuPadre() const = 0;
    virtual void SetMenuPadre(Value value) = 0;
    virtual Value MenuProg() const = 0;
    virtual void SetMenuProg(Value value) = 0;
    virtual Value Caption() const = 0;
    virtual void SetCaption(Value caption) = 0;
    virtual Value Filtro() const = 0;
    virtual void SetFiltro(Value filter) = 0;
    virtual std::int32_t hwndParent() const = 0;
    virtual void SethwndParent(std::int32_t handle) = 0;

    // Converted to whole numbers; a value that is no number keeps the old one.
    virtual void SetTop(const Value& top) = 0;
    virtual void SetLeft(const Value& left) = 0;

    // Shows a new window; answers an empty value.
    virtual Value ShowForm() = 0;
    // Closes the window; answers whether it really closed.
    virtual bool CloseForm() = 0;
    // The host's window object: this component offers none.
    virtual Form* Cwindow() const = 0;
};

}  // namespace condpag
