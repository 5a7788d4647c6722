#pragma once
// What a data frame is doing with its current row, and why that last changed.

#include <optional>

namespace condpag {

// The numbers are the host's modes.
enum class FrameStatus { View = 0, Search = 1, Insert = 2, Change = 3 };

// Why ChangeStatus was raised.
enum class ChangeReason {
    Command = 0,   // the status was set or a command asked for it
    Moved = 1,     // another row is current
    Reloaded = 2,  // Reload
    Found = 3,     // a key check or a search found a stored row
    Undone = 4,
    Deleted = 5,
    Saved = 7,  // the row just written is shown again, as it is: its details need no reload
};

// The starting mode the host hands as a number (0 view, 1 search, 2 insert); any other number
// asks for nothing.
constexpr std::optional<FrameStatus> StartingStatus(int host_mode) {
    switch (host_mode) {
        case 0:
            return FrameStatus::View;
        case 1:
            return FrameStatus::Search;
        case 2:
            return FrameStatus::Insert;
        default:
            return std::nullopt;
    }
}

}  // namespace condpag
