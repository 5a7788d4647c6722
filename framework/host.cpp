#include "framework/host.h"

namespace condpag {

void HeadlessGlobal::Unregister(Cinterface* host) {
    if (active_ == host) active_ = nullptr;
    if (second_ == host) second_ = nullptr;
}

std::unique_ptr<NumberNormaliser> HeadlessGlobal::NewNormaliser() const {
    return std::make_unique<RoundingNormaliser>();
}

Status HeadlessGlobal::RunProgram(const std::string& prog_id, const std::vector<Value>& arguments) {
    runs.push_back({prog_id, arguments});
    active_during_runs.push_back(active_);
    if (during_run) during_run();
    Status result = next_run_result;
    next_run_result = success();
    return result;
}

std::unique_ptr<Cinterface> HeadlessGlobal::NewInterface() const {
    auto host = std::make_unique<HeadlessInterface>();
    host->SetClsGlobal(const_cast<HeadlessGlobal*>(this));
    return host;
}

}  // namespace condpag
