#include "component/host_events.h"

namespace condpag {

void RecordingLayoutModel::AddForm(Form&, const std::string& name) {
    entries.push_back({name, nullptr, name});
}

void RecordingLayoutModel::AddGrid(Control& grid, const std::string& caption) {
    std::string form = entries.empty() ? std::string() : entries.back().form;
    entries.push_back({form, &grid, caption});
}

}  // namespace condpag
