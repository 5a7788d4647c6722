#pragma once
// The host's media manager: opened on a record; it reports the code of each multimedia item the
// user creates for it.

#include <string>
#include <vector>

#include "framework/event.h"

namespace condpag {

struct MediaOpening {
    std::string value1;
    std::string value2;
    std::string connection_string;
    std::string media_code;
    long parent_window = 0;
    int flag1 = 0;
    int flag2 = 0;
};

class CHyperMedia {
  public:
    virtual ~CHyperMedia() = default;
    // Opens the media manager for a record (two host values, connection string, media code,
    // parent window handle, 1, 0).
    virtual void Open(const MediaOpening& opening) = 0;
    // Cancel by reference, new media code.
    Event<bool&, const std::string&> AfterMediaCreate;
};

// Records each opening; `create` plays a user creating an item in the manager.
class HeadlessHyperMedia : public CHyperMedia {
  public:
    void Open(const MediaOpening& opening) override { openings.push_back(opening); }
    // Raises AfterMediaCreate; answers the Cancel the handlers left.
    bool create(const std::string& media_code) {
        bool cancel = false;
        AfterMediaCreate.emit(cancel, media_code);
        return cancel;
    }
    std::vector<MediaOpening> openings;
};

}  // namespace condpag
