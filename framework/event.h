#pragma once
// A tiny typed event: handlers are called in the order they were connected. Arguments passed by
// reference (Event<bool&>, Event<int&, int>) let handlers answer back (Cancel, key code).

#include <functional>
#include <utility>
#include <vector>

namespace condpag {

template <typename... Args>
class Event {
  public:
    using Handler = std::function<void(Args...)>;

    void connect(Handler handler) { handlers_.push_back(std::move(handler)); }
    void disconnect_all() { handlers_.clear(); }
    bool connected() const { return !handlers_.empty(); }

    // A handler connected while the event runs is called from the next emit on.
    void emit(Args... args) const {
        const size_t count = handlers_.size();
        for (size_t i = 0; i < count && i < handlers_.size(); ++i) {
            Handler handler = handlers_[i];
            handler(std::forward<Args>(args)...);
        }
    }

  private:
    std::vector<Handler> handlers_;
};

}  // namespace condpag
