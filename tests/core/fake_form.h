// A stand-in for the main window's controls: edit-box texts, the selected
// radio buttons, and a log of everything a calculator makes visible (each
// write and each message box, in order). Every control a calculator names is
// also noted, so a test can check that it stays within its own group.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/form_access.h"

namespace velquist::testing {

// One thing the user sees: a text written into a box, or a message box.
struct FormEvent {
  enum class Kind { kWrite, kMessage };

  Kind kind = Kind::kWrite;
  std::string target;  // the box written, or the message's text
  std::string text;    // the text written; empty for a message
  std::int32_t style = 0;
  std::optional<std::string> title;

  bool operator==(const FormEvent&) const = default;
};

FormEvent Wrote(std::string_view box, std::string_view text);
FormEvent Showed(std::string_view message, std::int32_t style = kStyleOk,
                 std::optional<std::string_view> title = std::nullopt);

// Message texts are GBK; they are printed as escaped bytes.
void PrintTo(const FormEvent& event, std::ostream* os);

class FakeForm : public FormAccess {
 public:
  FakeForm() = default;
  // Boxes not named read as the empty text; only the named radios are selected.
  FakeForm(std::initializer_list<std::pair<std::string_view, std::string_view>> texts,
           std::initializer_list<std::string_view> selected = {});

  void SetText(std::string_view box, std::string_view text);
  void Select(std::string_view radio);

  std::string ReadText(std::string_view control) override;
  void WriteText(std::string_view control, std::string_view text) override;
  bool IsSelected(std::string_view control) override;
  ButtonCode ShowMessage(std::string_view text, std::int32_t style,
                         std::optional<std::string_view> title = std::nullopt) override;

  // What a box holds now, without counting as a calculator's read.
  std::string Text(std::string_view box) const;
  const std::vector<FormEvent>& events() const { return events_; }
  // Every control read, asked about or written, by name.
  const std::set<std::string, std::less<>>& touched() const { return touched_; }

 private:
  std::map<std::string, std::string, std::less<>> texts_;
  std::set<std::string, std::less<>> selected_;
  std::vector<FormEvent> events_;
  std::set<std::string, std::less<>> touched_;
};

}  // namespace velquist::testing
