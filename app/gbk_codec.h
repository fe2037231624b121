// The one crossing between Qt's Unicode texts and the core's GBK byte strings.
#pragma once

#include <string>
#include <string_view>

#include <QString>

namespace velquist {

// GBK bytes of `text`, through Qt's own "GBK" codec. ASCII passes unchanged.
// A character GBK cannot hold becomes "?", and a run of characters of which
// the codec would write nothing at all (soft hyphens, joiners and other
// invisible marks) still leaves one "?" behind, so a character between two
// digits always ends the number: "1😀2" and "1\u00AD2" give "1?2", never "12".
// Linear in the length of the text.
std::string ToGbk(const QString& text);

// The text that GBK bytes stand for. Invalid or cut-off sequences become
// U+FFFD; decoding never fails.
QString FromGbk(std::string_view bytes);

}  // namespace velquist
