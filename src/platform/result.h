// Result<T>: a value or an error message, the way failures cross interfaces in
// this code base (no exceptions leave a module).
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tavlix {

struct Error {
  std::string message;
};

template <typename T>
class [[nodiscard]] Result {
 public:
  Result(T value) : v_(std::move(value)) {}      // NOLINT(google-explicit-constructor)
  Result(Error error) : v_(std::move(error)) {}  // NOLINT(google-explicit-constructor)

  bool ok() const { return v_.index() == 0; }
  explicit operator bool() const { return ok(); }

  T& value() & { return std::get<0>(v_); }
  const T& value() const& { return std::get<0>(v_); }
  T&& value() && { return std::get<0>(std::move(v_)); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }

  const std::string& error() const { return std::get<1>(v_).message; }

 private:
  std::variant<T, Error> v_;
};

// Result of an operation that yields nothing but success or an error.
struct Ok {};
using Status = Result<Ok>;

inline Status Success() {
  return Ok{};
}
inline Error Fail(std::string message) {
  return Error{std::move(message)};
}

}  // namespace tavlix
