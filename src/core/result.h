// Result<T>: a value or an error, the way failures cross interfaces in this
// code base (no exceptions leave a module). An error carries a message for
// the user and a kind for the code that decides what to do next (try again
// later, pick another name, give up); the kind is set where the system call
// failed, and "other" where no call did. The vocabulary of every layer, so it
// lives in namespace tavlix itself and each layer names it without a prefix.
#pragma once

#include <string>
#include <utility>
#include <variant>

namespace tavlix {

enum class ErrorKind {
  other,       // anything below, or a failure of our own logic
  not_found,   // the file or folder is not there
  in_use,      // another program holds it; may pass
  no_space,    // the device or the user's quota is full
  no_rights,   // the system refuses access
  damaged,     // the contents cannot be read as what they claim to be
  too_large,   // above a ceiling this program sets
  not_a_file,  // a link, a folder or a device where a regular file belongs
  name_taken,  // a file of the final name exists (a save that never replaces)
};

struct Error {
  std::string message;
  ErrorKind kind = ErrorKind::other;
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
  ErrorKind kind() const { return std::get<1>(v_).kind; }
  // The whole error, to pass on with its kind.
  const Error& failure() const { return std::get<1>(v_); }

 private:
  std::variant<T, Error> v_;
};

// Result of an operation that yields nothing but success or an error.
struct Ok {};
using Status = Result<Ok>;

inline Status Success() {
  return Ok{};
}
inline Error Fail(std::string message, ErrorKind kind = ErrorKind::other) {
  return Error{std::move(message), kind};
}

}  // namespace tavlix
