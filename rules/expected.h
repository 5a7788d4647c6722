#pragma once
// Errors as values: an operation answers either its result or the error that stopped it.

#include <string>
#include <utility>
#include <variant>

namespace condpag {

struct Error {
    std::string message;    // what went wrong, in words a user can read
    std::string statement;  // the statement or the operation that failed, when there is one
};

template <typename T>
class [[nodiscard]] Expected {
  public:
    Expected(T value) : data_(std::move(value)) {}
    Expected(Error error) : data_(std::move(error)) {}

    bool ok() const { return data_.index() == 0; }
    explicit operator bool() const { return ok(); }
    T& value() { return std::get<0>(data_); }
    const T& value() const { return std::get<0>(data_); }
    T& operator*() { return value(); }
    const T& operator*() const { return value(); }
    T* operator->() { return &value(); }
    const T* operator->() const { return &value(); }
    const Error& error() const { return std::get<1>(data_); }

  private:
    std::variant<T, Error> data_;
};

// For operations that answer nothing but may fail.
struct Done {};
using Status = Expected<Done>;
inline Status success() { return Done{}; }

// Marks a result set aside on purpose: the handlers that ignore errors and go on with their next
// step (closing, unloading, the detail events that report nothing) say so with this.
template <typename Result>
void ignore_error_by_design(const Result&) {}

}  // namespace condpag
