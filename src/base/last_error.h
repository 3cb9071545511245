// Why an object's last output failed, kept by that object: a chart and a
// DrawArea each hold one, set by a failing output operation and emptied by a
// succeeding one. Keeping the text with the object, not the thread, lets a
// host that renders several charts read each one's reason, and lets a chart
// move between threads (one at a time) without its reason staying behind.
// Setting a text never throws: when memory runs out while it is built, the
// fixed text "out of memory" stands in for it.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "base/guarded.h"

namespace quorvane {

class LastError {
 public:
  static constexpr const char *kOutOfMemory = "out of memory";

  // The text; empty after a success. Valid until the next output of its owner.
  const char *text() const noexcept { return fixed_ != nullptr ? fixed_ : text_.c_str(); }
  bool empty() const noexcept { return fixed_ == nullptr && text_.empty(); }
  void clear() noexcept {
    fixed_ = nullptr;
    text_.clear();
  }
  // A text that lives as long as the program (a literal).
  void setFixed(const char *text) noexcept {
    text_.clear();
    fixed_ = text;
  }
  // The parts (texts and std::to_string numbers) joined.
  template <class... Parts>
  void set(const Parts &...parts) noexcept {
    try {
      std::string joined;
      ((joined += std::string_view(parts)), ...);
      text_ = std::move(joined);
      fixed_ = nullptr;
    } catch (...) {
      setFixed(kOutOfMemory);
    }
  }

 private:
  const char *fixed_ = nullptr;
  std::string text_;
};

// guarded(onFailure, f) for an output operation that says why it failed: the
// text is emptied first, f sets it for the failures it recognises, and any
// other (a throw, or a failed operation that f called) ran out of memory.
template <class R, class F>
R reportingFailures(LastError &error, R onFailure, F &&f) noexcept {
  error.clear();
  const FailureWatch watch;
  R result = guarded(onFailure, std::forward<F>(f));
  if (watch.sawFailure()) error.setFixed(LastError::kOutOfMemory);
  return result;
}

}  // namespace quorvane
