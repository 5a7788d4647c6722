#pragma once
// The host application as the windows see it: the host interface (Cinterface) that the host hands
// to the component, its global services (ClsGlobal), its navigator toolbar with the form-event
// service, and its menu entry. Each is an interface with a working headless default.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "framework/frame_status.h"
#include "rules/expected.h"
#include "rules/normaliser.h"
#include "rules/value.h"
#include "storage/connection.h"
#include "storage/recordset.h"

namespace condpag {

class ClsGlobal;
class DataFrame;
class Form;
class HostNavigator;
class MenuEntry;
class MessageService;

// The properties of the host interface that the windows read and write.
class Cinterface {
  public:
    virtual ~Cinterface() = default;

    virtual condpag::Connection Connection() const = 0;
    virtual void SetConnection(condpag::Connection connection) = 0;
    virtual condpag::ClsGlobal* ClsGlobal() const = 0;
    virtual HostNavigator* ActiveNavigator() const = 0;
    virtual DataFrame* ActiveFrame() const = 0;
    virtual void SetActiveFrame(DataFrame* frame) = 0;
    // The name of the module active in the host ("" when none).
    virtual std::string ActiveDll() const = 0;
    virtual void SetActiveDll(std::string name) = 0;
    virtual MenuEntry* ClsVoceMenu() const = 0;
    // 0 view, 1 search, 2 insert.
    virtual int ProgramMode() const = 0;
    virtual bool IsCalled() const = 0;
    virtual void SetIsCalled(bool called) = 0;
    virtual bool WindowModal() const = 0;
    virtual int Top() const = 0;
    virtual int Left() const = 0;
    virtual bool IsActive() const = 0;
    virtual void SetIsActive(bool active) = 0;
    // Hands values chosen in the window back to the program that called it.
    virtual void TransferData(const std::vector<Value>& data) = 0;
};

// A host interface that keeps what it is given; every property can be set by the host shell
// or a test.
class HeadlessInterface : public Cinterface {
  public:
    condpag::Connection Connection() const override { return connection_; }
    void SetConnection(condpag::Connection connection) override { connection_ = connection; }
    condpag::ClsGlobal* ClsGlobal() const override { return global_; }
    void SetClsGlobal(condpag::ClsGlobal* global) { global_ = global; }
    HostNavigator* ActiveNavigator() const override { return navigator_; }
    void SetActiveNavigator(HostNavigator* navigator) { navigator_ = navigator; }
    DataFrame* ActiveFrame() const override { return frame_; }
    void SetActiveFrame(DataFrame* frame) override { frame_ = frame; }
    std::string ActiveDll() const override { return dll_; }
    void SetActiveDll(std::string name) override { dll_ = std::move(name); }
    MenuEntry* ClsVoceMenu() const override { return menu_; }
    void SetClsVoceMenu(MenuEntry* menu) { menu_ = menu; }
    int ProgramMode() const override { return program_mode_; }
    void SetProgramMode(int mode) { program_mode_ = mode; }
    bool IsCalled() const override { return called_; }
    void SetIsCalled(bool called) override { called_ = called; }
    bool WindowModal() const override { return modal_; }
    void SetWindowModal(bool modal) { modal_ = modal; }
    int Top() const override { return top_; }
    int Left() const override { return left_; }
    void SetPlace(int left, int top) {
        left_ = left;
        top_ = top;
    }
    bool IsActive() const override { return active_; }
    void SetIsActive(bool active) override { active_ = active; }
    void TransferData(const std::vector<Value>& data) override { transfers.push_back(data); }

    // Every list handed back, in order.
    std::vector<std::vector<Value>> transfers;

  private:
    condpag::Connection connection_;
    condpag::ClsGlobal* global_ = nullptr;
    HostNavigator* navigator_ = nullptr;
    DataFrame* frame_ = nullptr;
    MenuEntry* menu_ = nullptr;
    std::string dll_;
    int program_mode_ = 0;
    int top_ = 0;
    int left_ = 0;
    bool called_ = false;
    bool modal_ = false;
    bool active_ = false;
};

// A program run through the host (print component and the like).
struct ProgramRun {
    std::string prog_id;
    std::vector<Value> arguments;
};

// The host's global services.
class ClsGlobal {
  public:
    virtual ~ClsGlobal() = default;

    // The text from which a window opens its own connection.
    virtual std::string ConnectionString() const = 0;
    // A whole-number host setting: 1 or 4 single installment, 2 VAT-reversal box, 3 uniform
    // type and subtype rule.
    virtual int InstallationProfile() const = 0;

    // The active host interface, and a second interface setting used while another program
    // runs; the application object (the active window) registered with them.
    virtual Cinterface* ActiveInterface() const = 0;
    virtual void SetActiveInterface(Cinterface* host) = 0;
    virtual Cinterface* SecondInterface() const = 0;
    virtual void SetSecondInterface(Cinterface* host) = 0;
    virtual Form* Application() const = 0;
    virtual void SetApplication(Form* window) = 0;
    // Drops every reference the services hold to a host interface.
    virtual void Unregister(Cinterface* host) = 0;

    // The host's message object (nullptr when it offers none).
    virtual MessageService* MessageObject() const = 0;
    // The text in the user's language; unchanged when there is no translation.
    virtual std::string TranslateString(const std::string& text) const = 0;
    // A new number normaliser (rounding by default), one per use.
    virtual std::unique_ptr<NumberNormaliser> NewNormaliser() const = 0;

    // Runs a program of the host by its identifier; returns when it is done.
    virtual Status RunProgram(const std::string& prog_id, const std::vector<Value>& arguments) = 0;

    // Factories: a new, unopened connection; a new, unopened record set; a new host interface.
    virtual condpag::Connection NewConnection() const = 0;
    virtual Recordset NewRecordset() const = 0;
    virtual std::unique_ptr<Cinterface> NewInterface() const = 0;
};

class HeadlessGlobal : public ClsGlobal {
  public:
    HeadlessGlobal() = default;
    HeadlessGlobal(std::string connection_string, int profile)
        : connection_string_(std::move(connection_string)), profile_(profile) {}

    std::string ConnectionString() const override { return connection_string_; }
    void SetConnectionString(std::string text) { connection_string_ = std::move(text); }
    int InstallationProfile() const override { return profile_; }
    void SetInstallationProfile(int profile) { profile_ = profile; }

    Cinterface* ActiveInterface() const override { return active_; }
    void SetActiveInterface(Cinterface* host) override { active_ = host; }
    Cinterface* SecondInterface() const override { return second_; }
    void SetSecondInterface(Cinterface* host) override { second_ = host; }
    Form* Application() const override { return application_; }
    void SetApplication(Form* window) override { application_ = window; }
    void Unregister(Cinterface* host) override;

    MessageService* MessageObject() const override { return messages_; }
    void SetMessageObject(MessageService* messages) { messages_ = messages; }
    std::string TranslateString(const std::string& text) const override { return text; }
    std::unique_ptr<NumberNormaliser> NewNormaliser() const override;

    // Records the run; the program's outcome can be set beforehand.
    Status RunProgram(const std::string& prog_id, const std::vector<Value>& arguments) override;
    std::vector<ProgramRun> runs;
    // While a program runs: the active interface it found (to check the hand-over).
    std::vector<Cinterface*> active_during_runs;
    Status next_run_result = success();
    // Called while a program runs, to look at the host as the program finds it.
    std::function<void()> during_run;

    condpag::Connection NewConnection() const override { return condpag::Connection(); }
    Recordset NewRecordset() const override { return Recordset(); }
    std::unique_ptr<Cinterface> NewInterface() const override;

  private:
    std::string connection_string_;
    int profile_ = 0;
    Cinterface* active_ = nullptr;
    Cinterface* second_ = nullptr;
    Form* application_ = nullptr;
    MessageService* messages_ = nullptr;
};

// The host's form-event service: told when a window opens or closes, and asked whether a close
// is vetoed.
class FormEventService {
  public:
    virtual ~FormEventService() = default;
    // window name, 0, 1 for "qxOpen" / 0 for "qxClose", window name again.
    virtual void ExecuteFormEvent(const std::string& window, int zero, int open_flag,
                                  const std::string& window_again) = 0;
    virtual bool CloseVetoed() = 0;
    // The menu entry's identifying text, passed as the window unloads.
    virtual void WindowUnloaded(const std::string& menu_text) = 0;
};

struct FormEventCall {
    std::string window;
    int zero = 0;
    int open_flag = 0;
    std::string window_again;
};

class HeadlessFormEvents : public FormEventService {
  public:
    void ExecuteFormEvent(const std::string& window, int zero, int open_flag,
                          const std::string& window_again) override {
        calls.push_back({window, zero, open_flag, window_again});
    }
    bool CloseVetoed() override { return veto_close; }
    void WindowUnloaded(const std::string& menu_text) override { unloaded.push_back(menu_text); }

    std::vector<FormEventCall> calls;
    std::vector<std::string> unloaded;
    bool veto_close = false;
};

// The host's navigator toolbar.
class HostNavigator {
  public:
    virtual ~HostNavigator() = default;
    // Shows the buttons of a frame status.
    virtual void SetStatus(FrameStatus status) = 0;
    virtual void Refresh() = 0;
    virtual FormEventService* FormEvents() const = 0;
    // Drops its references to the form-event service and to the active frame's host object.
    virtual void ClearReferences() = 0;
};

class HeadlessNavigator : public HostNavigator {
  public:
    void SetStatus(FrameStatus status) override { statuses.push_back(status); }
    void Refresh() override { ++refreshes; }
    FormEventService* FormEvents() const override { return events_; }
    void SetFormEvents(FormEventService* events) { events_ = events; }
    void ClearReferences() override {
        events_ = nullptr;
        ++cleared;
    }

    std::vector<FrameStatus> statuses;
    int refreshes = 0;
    int cleared = 0;

  private:
    FormEventService* events_ = nullptr;
};

// The host's menu entry of a window.
class MenuEntry {
  public:
    virtual ~MenuEntry() = default;
    virtual std::string Identifier() const = 0;
};

class HeadlessMenuEntry : public MenuEntry {
  public:
    explicit HeadlessMenuEntry(std::string id = "") : id_(std::move(id)) {}
    std::string Identifier() const override { return id_; }

  private:
    std::string id_;
};

}  // namespace condpag
