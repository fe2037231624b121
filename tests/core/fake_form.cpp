#include "tests/core/fake_form.h"

#include <cstdio>

namespace velquist::testing {

namespace {

void PrintBytes(std::string_view bytes, std::ostream* os) {
  *os << '"';
  for (const char ch : bytes) {
    const auto byte = static_cast<unsigned char>(ch);
    if (byte >= 0x20 && byte < 0x7F) {
      *os << ch;
    } else {
      char escaped[5];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", byte);
      *os << escaped;
    }
  }
  *os << '"';
}

}  // namespace

FormEvent Wrote(std::string_view box, std::string_view text) {
  return {FormEvent::Kind::kWrite, std::string(box), std::string(text), 0, std::nullopt};
}

FormEvent Showed(std::string_view message, std::int32_t style,
                 std::optional<std::string_view> title) {
  FormEvent event{FormEvent::Kind::kMessage, std::string(message), {}, style, std::nullopt};
  if (title) event.title = std::string(*title);
  return event;
}

void PrintTo(const FormEvent& event, std::ostream* os) {
  if (event.kind == FormEvent::Kind::kWrite) {
    *os << "write " << event.target << " = ";
    PrintBytes(event.text, os);
    return;
  }
  *os << "message ";
  PrintBytes(event.target, os);
  *os << " style " << event.style << " title ";
  if (event.title) {
    PrintBytes(*event.title, os);
  } else {
    *os << "(none)";
  }
}

FakeForm::FakeForm(std::initializer_list<std::pair<std::string_view, std::string_view>> texts,
                   std::initializer_list<std::string_view> selected) {
  for (const auto& [box, text] : texts) SetText(box, text);
  for (const auto radio : selected) Select(radio);
}

void FakeForm::SetText(std::string_view box, std::string_view text) {
  texts_.insert_or_assign(std::string(box), std::string(text));
}

void FakeForm::Select(std::string_view radio) { selected_.emplace(radio); }

std::string FakeForm::ReadText(std::string_view control) {
  touched_.emplace(control);
  return Text(control);
}

void FakeForm::WriteText(std::string_view control, std::string_view text) {
  touched_.emplace(control);
  SetText(control, text);
  events_.push_back(Wrote(control, text));
}

bool FakeForm::IsSelected(std::string_view control) {
  touched_.emplace(control);
  return selected_.contains(control);
}

ButtonCode FakeForm::ShowMessage(std::string_view text, std::int32_t style,
                                 std::optional<std::string_view> title) {
  events_.push_back(Showed(text, style, title));
  return ButtonCode::Ok;
}

std::string FakeForm::Text(std::string_view box) const {
  const auto it = texts_.find(box);
  return it == texts_.end() ? std::string() : it->second;
}

}  // namespace velquist::testing
