#pragma once

#include <cerrno>
#include <system_error>
#include <utility>
#include <variant>

namespace zul {

// The one way results leave the platform layer: a call that can fail returns either a plain
// std::error_code (empty on success) or a Result that holds a value or the error that prevented
// it. Errors stay codes until the edge that shows them (see platform/error_text.h).

// The code of a system errno value.
inline std::error_code ErrnoCode(int error) { return {error, std::generic_category()}; }
// The code of the errno the last failed system call left.
inline std::error_code LastErrno() { return ErrnoCode(errno); }

template <class T>
class Result {
 public:
  Result(T value) : m_value(std::in_place_index<0>, std::move(value)) {}     // NOLINT: implicit
  Result(std::error_code error) : m_value(std::in_place_index<1>, error) {}  // NOLINT: implicit

  bool ok() const { return m_value.index() == 0; }
  explicit operator bool() const { return ok(); }

  // Only when ok().
  T& value() & { return std::get<0>(m_value); }
  const T& value() const& { return std::get<0>(m_value); }
  T&& value() && { return std::get<0>(std::move(m_value)); }
  T& operator*() & { return value(); }
  const T& operator*() const& { return value(); }
  T* operator->() { return &value(); }
  const T* operator->() const { return &value(); }

  // Empty when ok().
  std::error_code error() const { return ok() ? std::error_code() : std::get<1>(m_value); }

 private:
  std::variant<T, std::error_code> m_value;
};

}  // namespace zul
