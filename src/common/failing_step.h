#pragma once

#include <cmath>
#include <concepts>
#include <exception>
#include <limits>
#include <optional>
#include <type_traits>

// Every command runs under one rule: a step that fails is skipped, and whatever
// it would have set keeps its previous value. C++ arithmetic does not fail by
// itself, so a step also fails when it produces a non-finite number or a value
// that does not fit the place it is stored in.
namespace korvel {

template <typename T>
bool isUsableValue(const T& value) {
  if constexpr (std::is_floating_point_v<T>) {
    return std::isfinite(value);
  } else {
    return true;
  }
}

// A double narrowed to single precision, or nullopt when it is not finite or
// too large for a float.
inline std::optional<float> toSingle(double value) {
  if (!std::isfinite(value)) return std::nullopt;
  const float narrowed = static_cast<float>(value);
  if (!std::isfinite(narrowed)) return std::nullopt;
  return narrowed;
}

namespace detail {
template <typename R>
struct StepResult {
  static bool has(const R& r) { return isUsableValue(r); }
  static const R& get(const R& r) { return r; }
};
template <typename V>
struct StepResult<std::optional<V>> {
  static bool has(const std::optional<V>& r) { return r.has_value() && isUsableValue(*r); }
  static const V& get(const std::optional<V>& r) { return *r; }
};
}  // namespace detail

// Runs one step that computes a value for target. The target is set only when
// the step succeeds: it returned a usable value (an empty optional, a non-finite
// number and an exception all count as failure). Returns whether it was set.
template <typename T, typename Step>
bool runStep(T& target, Step&& step) {
  try {
    using R = std::decay_t<decltype(step())>;
    const R result = step();
    if (!detail::StepResult<R>::has(result)) return false;
    target = static_cast<T>(detail::StepResult<R>::get(result));
    return true;
  } catch (...) {
    return false;
  }
}

// Runs one step that only acts (draws, writes a file); a failure is swallowed so
// that the next step still runs.
template <typename Step>
bool runStep(Step&& step) {
  try {
    if constexpr (std::is_same_v<decltype(step()), bool>) {
      return step();
    } else {
      step();
      return true;
    }
  } catch (...) {
    return false;
  }
}

}  // namespace korvel
