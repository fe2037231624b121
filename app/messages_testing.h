// What tests may do to the message boxes beyond their interface
// (messages.h). The program itself never calls any of it.
#pragma once

#include <QString>

#include <cstdint>
#include <functional>

#include "core/form_access.h"

namespace velquist::testing {

// What a box would show, its caption resolved.
struct ShownMessage {
  QString text;
  QString caption;
  std::int32_t style;
};
using MessageResponder = std::function<ButtonCode(const ShownMessage&)>;

// While a responder is set, ShowMessage hands it what the box would show and
// returns its answer instead of showing a box. Null shows boxes again.
void SetMessageResponder(MessageResponder responder);

}  // namespace velquist::testing
