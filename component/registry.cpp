#include "component/registry.h"

#include <dlfcn.h>

#include "component/CLSCO_CONDPAG.h"

namespace condpag {

void ComponentDeleter::operator()(HostComponent* component) const {
    if (destroy != nullptr) {
        destroy(component);
    } else {
        delete component;
    }
}

void ComponentRegistry::RegisterComponent(const std::string& prog_id, ComponentFactory factory) {
    components_[prog_id] = std::move(factory);
}

void ComponentRegistry::RegisterProgram(const std::string& prog_id, ProgramRunner runner) {
    programs_[prog_id] = std::move(runner);
}

bool ComponentRegistry::HasComponent(const std::string& prog_id) const {
    return components_.contains(prog_id);
}

bool ComponentRegistry::HasProgram(const std::string& prog_id) const {
    return programs_.contains(prog_id);
}

Expected<ComponentHandle> ComponentRegistry::CreateComponent(const std::string& prog_id) const {
    auto found = components_.find(prog_id);
    if (found == components_.end()) {
        return Error{"Componente non registrato: " + prog_id, prog_id};
    }
    ComponentHandle component = found->second();
    if (!component) return Error{"Impossibile creare il componente " + prog_id, prog_id};
    return component;
}

Status ComponentRegistry::RunProgram(const std::string& prog_id, Cinterface* host,
                                     const std::vector<Value>& arguments) const {
    auto found = programs_.find(prog_id);
    if (found == programs_.end()) return Error{"Programma non registrato: " + prog_id, prog_id};
    return found->second(host, arguments);
}

ComponentRegistry linked_components() {
    ComponentRegistry registry;
    registry.RegisterComponent(kComponentProgId,
                               [] { return ComponentHandle(new CLSCO_CONDPAG()); });
    return registry;
}

Expected<std::shared_ptr<ComponentModule>> ComponentModule::Load(const std::string& path) {
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (handle == nullptr) {
        const char* reason = dlerror();
        return Error{reason != nullptr ? reason : "dlopen failed", path};
    }
    auto create = reinterpret_cast<CreateFn>(dlsym(handle, "condpag_create"));
    auto destroy = reinterpret_cast<DestroyFn>(dlsym(handle, "condpag_destroy"));
    if (create == nullptr || destroy == nullptr) {
        dlclose(handle);
        return Error{"Il modulo non esporta condpag_create e condpag_destroy", path};
    }
    std::shared_ptr<ComponentModule> module(new ComponentModule());
    module->path_ = path;
    module->handle_ = handle;
    module->create_ = create;
    module->destroy_ = destroy;
    module->self_ = module;
    return module;
}

ComponentModule::~ComponentModule() {
    if (handle_ != nullptr) dlclose(handle_);
}

Expected<ComponentHandle> ComponentModule::Create(const std::string& prog_id) {
    HostComponent* component = create_(prog_id.c_str());
    if (component == nullptr) {
        return Error{"Il modulo " + path_ + " non conosce " + prog_id, prog_id};
    }
    return ComponentHandle(component, ComponentDeleter{destroy_, self_.lock()});
}

void ComponentModule::RegisterIn(ComponentRegistry& registry,
                                 const std::vector<std::string>& prog_ids) {
    std::shared_ptr<ComponentModule> self = self_.lock();
    for (const std::string& prog_id : prog_ids) {
        registry.RegisterComponent(prog_id, [self, prog_id]() -> ComponentHandle {
            Expected<ComponentHandle> component = self->Create(prog_id);
            return component ? std::move(*component) : ComponentHandle();
        });
    }
}

Status RegistryGlobal::RunProgram(const std::string& prog_id, const std::vector<Value>& arguments) {
    // The headless part only records the run; the registry's run gives the answer.
    ignore_error_by_design(HeadlessGlobal::RunProgram(prog_id, arguments));
    return registry_.RunProgram(prog_id, ActiveInterface(), arguments);
}

}  // namespace condpag
