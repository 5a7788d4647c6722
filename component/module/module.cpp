// The loadable module of the payment-terms component: the host shell dlopen()s it and makes the
// component by its identifier.

#include <string>

#include "component/registry.h"

extern "C" {

__attribute__((visibility("default"))) condpag::HostComponent* condpag_create(const char* prog_id) {
    if (prog_id == nullptr) return nullptr;
    condpag::Expected<condpag::ComponentHandle> component =
        condpag::linked_components().CreateComponent(prog_id);
    return component ? component->release() : nullptr;
}

__attribute__((visibility("default"))) void condpag_destroy(condpag::HostComponent* component) {
    delete component;
}
}
