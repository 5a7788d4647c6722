#pragma once
// What the host's toolbar (the host navigator) tells the active component, and the host objects
// those events carry: the export-to-office object, the layout and script object models. A host
// navigator that raises events derives from NavigatorEvents as well as from HostNavigator; the
// component listens to it while it is its active navigator.

#include <string>
#include <utility>
#include <variant>
#include <vector>

#include "framework/event.h"
#include "framework/host.h"

namespace condpag {

class Control;
class DataFrame;
class Form;

// The host's export of the shown data to an office program.
struct ExportObject {
    std::string TitoloMaster;
};

// The host's layout object model: windows and the grids on them that a person may rearrange.
class LayoutObjectModel {
  public:
    virtual ~LayoutObjectModel() = default;
    virtual void AddForm(Form& window, const std::string& name) = 0;
    // Registers a grid on the form added last.
    virtual void AddGrid(Control& grid, const std::string& caption) = 0;
};

// The host's script object model: objects that scripts can reach by name.
using ScriptObject = std::variant<Form*, DataFrame*>;

class ScriptObjectModel {
  public:
    virtual ~ScriptObjectModel() = default;
    virtual void AddObject(ScriptObject object, const std::string& name, int kind,
                           const std::string& description) = 0;
};

// Headless models keep every registration, in order.
class RecordingLayoutModel : public LayoutObjectModel {
  public:
    struct Entry {
        std::string form;
        Control* grid = nullptr;  // nullptr for the form itself
        std::string caption;
    };
    void AddForm(Form& window, const std::string& name) override;
    void AddGrid(Control& grid, const std::string& caption) override;
    std::vector<Entry> entries;
};

class RecordingScriptModel : public ScriptObjectModel {
  public:
    struct Entry {
        ScriptObject object;
        std::string name;
        int kind = 0;
        std::string description;
    };
    void AddObject(ScriptObject object, const std::string& name, int kind,
                   const std::string& description) override {
        entries.push_back({object, name, kind, description});
    }
    std::vector<Entry> entries;
};

// Events of the host navigator. Cancel comes first, by reference.
class NavigatorEvents {
  public:
    virtual ~NavigatorEvents() = default;
    Event<bool&, ExportObject&> BeforeExportToOffice;
    Event<bool&> BeforeChangeDitta;
    Event<bool&> ChangeDitta;
    Event<bool&, LayoutObjectModel&> InitializeLayoutObjectModel;
    Event<bool&, ScriptObjectModel&> InitializeScriptObjectModel;
    // Cancel, button code.
    Event<bool&, int> ButtonPressed;

    // Drops every handler: a component's handlers live in its module and must go before the
    // module is unloaded.
    void disconnect_all() {
        BeforeExportToOffice.disconnect_all();
        BeforeChangeDitta.disconnect_all();
        ChangeDitta.disconnect_all();
        InitializeLayoutObjectModel.disconnect_all();
        InitializeScriptObjectModel.disconnect_all();
        ButtonPressed.disconnect_all();
    }
};

// A headless host navigator that raises the events.
class EventingNavigator : public HeadlessNavigator, public NavigatorEvents {};

// The host's status bar: the component only keeps it for the host.
class StatusBar {
  public:
    virtual ~StatusBar() = default;
};

// Global services that know the two values the media manager is opened with (the host's company
// and user); services without them open it with two empty values.
class MediaHostValues {
  public:
    virtual ~MediaHostValues() = default;
    virtual std::pair<std::string, std::string> MediaValues() const = 0;
};

}  // namespace condpag
