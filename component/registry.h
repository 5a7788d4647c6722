#pragma once
// The host's registry of programmatic identifiers: components it creates by name, and programs
// it runs by name (the print component). Components can also come from a shared library module
// loaded at run time; the module exports
//   extern "C" condpag::HostComponent* condpag_create(const char* prog_id);
//   extern "C" void condpag_destroy(condpag::HostComponent* component);
// and the module stays loaded while any component it made lives.

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "component/host_component.h"
#include "framework/host.h"
#include "rules/expected.h"

namespace condpag {

// Deletes a component where it was made, and keeps its module loaded until then.
struct ComponentDeleter {
    void (*destroy)(HostComponent*) = nullptr;  // nullptr: plain delete
    std::shared_ptr<void> module;
    void operator()(HostComponent* component) const;
};
using ComponentHandle = std::unique_ptr<HostComponent, ComponentDeleter>;

using ComponentFactory = std::function<ComponentHandle()>;
// A program run by the host: it reaches the host through the interface the global services
// have made active for it.
using ProgramRunner = std::function<Status(Cinterface* host, const std::vector<Value>& arguments)>;

class ComponentRegistry {
  public:
    // A later registration under the same identifier replaces the earlier one.
    void RegisterComponent(const std::string& prog_id, ComponentFactory factory);
    void RegisterProgram(const std::string& prog_id, ProgramRunner runner);
    bool HasComponent(const std::string& prog_id) const;
    bool HasProgram(const std::string& prog_id) const;

    Expected<ComponentHandle> CreateComponent(const std::string& prog_id) const;
    Status RunProgram(const std::string& prog_id, Cinterface* host,
                      const std::vector<Value>& arguments) const;

  private:
    std::map<std::string, ComponentFactory, std::less<>> components_;
    std::map<std::string, ProgramRunner, std::less<>> programs_;
};

// A registry with the components linked into this program ("VELMORA.CLSCO_CONDPAG").
ComponentRegistry linked_components();

// A shared library module of components, loaded with dlopen.
class ComponentModule {
  public:
    static Expected<std::shared_ptr<ComponentModule>> Load(const std::string& path);
    ~ComponentModule();
    ComponentModule(const ComponentModule&) = delete;
    ComponentModule& operator=(const ComponentModule&) = delete;

    const std::string& path() const { return path_; }
    // A component made by the module; an error when the module does not know the identifier.
    Expected<ComponentHandle> Create(const std::string& prog_id);
    // Registers, under each identifier, a factory that makes it through this module.
    void RegisterIn(ComponentRegistry& registry, const std::vector<std::string>& prog_ids);

  private:
    using CreateFn = HostComponent* (*)(const char*);
    using DestroyFn = void (*)(HostComponent*);
    ComponentModule() = default;

    std::string path_;
    void* handle_ = nullptr;
    CreateFn create_ = nullptr;
    DestroyFn destroy_ = nullptr;
    std::weak_ptr<ComponentModule> self_;
};

// Global services whose run operation starts the programs of a registry; the interface made
// active for the run is handed to the program. Every run is also recorded.
class RegistryGlobal : public HeadlessGlobal {
  public:
    RegistryGlobal(ComponentRegistry registry, std::string connection_string, int profile)
        : HeadlessGlobal(std::move(connection_string), profile), registry_(std::move(registry)) {}
    Status RunProgram(const std::string& prog_id, const std::vector<Value>& arguments) override;
    ComponentRegistry& registry() { return registry_; }

  private:
    ComponentRegistry registry_;
};

}  // namespace condpag
