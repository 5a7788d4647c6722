#pragma once
// A picture of the shell with the editor: the demo term shown (one with installments unless a
// code was asked for), on the tab and in the status asked for; saved as PNG, its path printed.

#include <string>

namespace condpag::shell {

class HostWindow;

struct ScreenshotRequest {
    std::string path;
    int tab = 0;
    std::string status = "view";  // "view", "insert" or "search"
    int percent = 100;            // the editor's size, in percent of its design size
    std::string dialog;           // "generation" or "subtypes": that window, over the editor
};

// Answers the process exit code: 0 when the picture was saved.
int take_screenshot(HostWindow& host, const ScreenshotRequest& request);

}  // namespace condpag::shell
