// The one way the tool's commands open the database they read.

#include <filesystem>

#include "app/cli/commands.h"
#include "storage/schema.h"

namespace condpag::cli {

Expected<Connection> open_for_reading(const std::string& database, bool named) {
    if (!named && !std::filesystem::exists(database)) {
        if (auto made = open_database(database, OpenMode::CreateDemoWhenMissing); !made) {
            return made;
        }
    }
    return open_database(database, OpenMode::ReadOnly);
}

}  // namespace condpag::cli
