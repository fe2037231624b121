#include "app/gbk_codec.h"

#include <QByteArray>
#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>

namespace velquist {
namespace {

constexpr char16_t kAsciiEnd = 0x80;
// Never part of a GBK pair (trail bytes lie in 0x40..0xFE), so it can mark
// where the encoding of one run of characters ends.
constexpr char kRunSeparator = '\n';

bool IsAscii(QChar c) { return c.unicode() < kAsciiEnd; }

// Appends the encoding of one run of non-ASCII characters. Everything the
// codec writes for such characters is a two-byte pair, the single byte 0x80
// or its "?" substitute; any other single byte below 0x80 would stand for a
// character that is not that ASCII character, so it becomes "?" as well.
void AppendRun(std::string& out, std::string_view encoded) {
  if (encoded.empty()) {
    out += '?';
    return;
  }
  for (std::size_t i = 0; i < encoded.size(); ++i) {
    const auto byte = static_cast<unsigned char>(encoded[i]);
    if (byte > 0x80 && i + 1 < encoded.size()) {
      out += encoded[i];
      out += encoded[++i];
    } else if (byte >= 0x80) {
      out += encoded[i];
    } else {
      out += '?';
    }
  }
}

}  // namespace

std::string ToGbk(const QString& text) {
  const qsizetype size = text.size();
  const QChar* const chars = text.constData();

  // Numbers are ASCII throughout, and a calculator reads its boxes several
  // times over: such a text takes Qt's vectorised Latin-1 conversion, not
  // the character-by-character walk below.
  if (std::all_of(chars, chars + size, IsAscii)) {
    std::string ascii(static_cast<std::size_t>(size), '\0');
    QStringEncoder(QStringEncoder::Latin1).appendToBuffer(ascii.data(), text);
    return ascii;
  }

  // The non-ASCII runs go through the codec in a single call, joined by a
  // separator, so that a text made of many short runs still costs one pass.
  QString runs;
  for (qsizetype i = 0; i < size;) {
    if (IsAscii(chars[i])) {
      ++i;
      continue;
    }
    const qsizetype start = i;
    while (i < size && !IsAscii(chars[i])) ++i;
    runs.append(QStringView(chars + start, i - start));
    runs.append(QLatin1Char(kRunSeparator));
  }

  std::string out;
  out.reserve(static_cast<std::size_t>(size));

  // Without the codec (a Qt built without ICU) every run is encoded as
  // nothing and AppendRun turns it into "?": digits stay digits, and nothing
  // else can join them.
  QStringEncoder encoder("GBK");
  const QByteArray encodedRuns =
      encoder.isValid() ? QByteArray(encoder.encode(runs)) : QByteArray();
  const std::string_view encoded(encodedRuns.constData(),
                                 static_cast<std::size_t>(encodedRuns.size()));
  std::size_t next = 0;

  for (qsizetype i = 0; i < size;) {
    if (IsAscii(chars[i])) {
      out += static_cast<char>(chars[i].unicode());
      ++i;
      continue;
    }
    while (i < size && !IsAscii(chars[i])) ++i;
    std::size_t end = encoded.find(kRunSeparator, next);
    if (end == std::string_view::npos) end = encoded.size();
    AppendRun(out, encoded.substr(next, end - next));
    next = end < encoded.size() ? end + 1 : end;
  }
  return out;
}

QString FromGbk(std::string_view bytes) {
  QStringDecoder decoder("GBK");
  if (decoder.isValid()) {
    // The codec holds a lead byte at the very end back for a next call that
    // never comes, and so would lose it; one ASCII byte more turns it into
    // U+FFFD, and is taken off again.
    QByteArray terminated(bytes.data(), static_cast<qsizetype>(bytes.size()));
    terminated.append(kRunSeparator);
    QString text = decoder.decode(terminated);
    text.chop(1);
    return text;
  }
  // Without the codec the ASCII bytes still read as themselves.
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      text += QLatin1Char(static_cast<char>(byte));
    } else {
      text += QChar::ReplacementCharacter;
      if (byte > 0x80 && i + 1 < bytes.size()) ++i;
    }
  }
  return text;
}

}  // namespace velquist
