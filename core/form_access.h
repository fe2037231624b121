// The boundary between the calculators and the window that holds their
// controls. Controls are named by the window definition's identifiers (see
// control_names.h); texts are GBK byte strings.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace velquist {

// The button with which the user dismissed a message box.
enum class ButtonCode : int {
  Ok = 0,
  Cancel = 1,
  Abort = 2,
  Retry = 3,
  Ignore = 4,
  Yes = 5,
  No = 6,
};

// Message-box style words use the Windows flag layout: bits 0-3 the buttons,
// bits 4-7 the icon, bits 8-11 the default button, 0x1000 system-modal and
// 0x2000 task-modal.
inline constexpr std::int32_t kStyleOk = 0;
inline constexpr std::int32_t kStyleInformation = 0x40;

class FormAccess {
 public:
  virtual ~FormAccess() = default;

  // What the named edit box shows at this moment.
  virtual std::string ReadText(std::string_view control) = 0;

  // Replaces the whole text of the named edit box, read-only ones included;
  // the text is neither filtered nor rewritten.
  virtual void WriteText(std::string_view control, std::string_view text) = 0;

  // True exactly when the named radio button is the selected one of its group.
  virtual bool IsSelected(std::string_view control) = 0;

  // Shows a message box and waits until the user dismisses it. Without a
  // title the box has the default caption.
  virtual ButtonCode ShowMessage(std::string_view text, std::int32_t style,
                                 std::optional<std::string_view> title = std::nullopt) = 0;
};

}  // namespace velquist
