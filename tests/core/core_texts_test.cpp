// The fixed texts of the core: the π text and the GBK bytes of every message.

#include <gtest/gtest.h>
#include <iconv.h>

#include <cerrno>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_texts.h"
#include "core/pi_text.h"

namespace velquist {
namespace {

// π in decimal by the Rabinowitz-Wagon spigot (in Dik Winter's base-10000
// form), independent of how pi_text.cpp was produced. Each pass yields four
// digits; a pass may carry into the group before it, so the groups are kept
// as numbers and the carries settled at the end. 256 groups give 1024 digits,
// well beyond the 1001 compared, so the spigot's less certain tail is unused.
std::string SpigotPiDigits() {
  constexpr std::int64_t kBase = 10000;
  constexpr int kGroups = 256;
  int c = kGroups * 14;
  std::vector<std::int64_t> f(c + 1, kBase / 5);
  std::vector<std::int64_t> groups;
  std::int64_t e = 0;
  while (c > 0) {
    std::int64_t d = 0;
    std::int64_t g = 2 * c;
    for (int b = c;;) {
      d += f[b] * kBase;
      --g;
      f[b] = d % g;
      d /= g;
      --g;
      if (--b == 0) break;
      d *= b;
    }
    groups.push_back(e + d / kBase);
    e = d % kBase;
    c -= 14;
  }
  for (std::size_t i = groups.size() - 1; i > 0; --i) {
    groups[i - 1] += groups[i] / kBase;
    groups[i] %= kBase;
  }
  std::string digits;
  for (const std::int64_t group : groups) {
    const std::string four = std::to_string(group);
    digits += std::string(4 - four.size(), '0') + four;
  }
  return digits;
}

TEST(PiText, IsThreePointAndTheFirstThousandDecimals) {
  ASSERT_EQ(kPiText.size(), 1002u);
  ASSERT_EQ(kPiText.substr(0, 2), "3.");
  const std::string digits = SpigotPiDigits();
  ASSERT_GE(digits.size(), 1001u);
  const std::string expected = "3." + digits.substr(1, 1000);
  for (std::size_t i = 0; i < expected.size(); ++i) {
    ASSERT_EQ(kPiText[i], expected[i]) << "decimal " << i - 1 << " of pi";
  }
}

// GBK to UTF-8 through the C library's converter; false for a byte sequence
// that is not GBK.
bool DecodeGbk(iconv_t converter, std::string_view gbk, std::string& utf8) {
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  std::string in(gbk);
  std::string out(gbk.size() * 2 + 4, '\0');
  char* in_ptr = in.data();
  std::size_t in_left = in.size();
  char* out_ptr = out.data();
  std::size_t out_left = out.size();
  if (iconv(converter, &in_ptr, &in_left, &out_ptr, &out_left) == static_cast<std::size_t>(-1))
    return false;
  out.resize(out.size() - out_left);
  utf8 = out;
  return true;
}

struct MessageCase {
  const char* name;
  std::string_view gbk;
  std::string_view chinese;  // UTF-8, as this file is written
};

const MessageCase kMessages[] = {
    {"kEnterDecimalPlaces", message::kEnterDecimalPlaces, "请输入小数点位数"},
    {"kAtMost1000DecimalPlaces", message::kAtMost1000DecimalPlaces, "最多可运算到小数点后1000位"},
    {"kDecimalPlacesNotNegative", message::kDecimalPlacesNotNegative, "小数点位数不能为负数"},
    {"kEnterCircleDiameter", message::kEnterCircleDiameter, "请输入圆的直径"},
    {"kEnterRectangleLength", message::kEnterRectangleLength, "请输入矩形长"},
    {"kEnterRectangleWidth", message::kEnterRectangleWidth, "请输入矩形宽"},
    {"kEnterRectangleHeight", message::kEnterRectangleHeight, "请输入矩形高"},
    {"kEnterTriangleBase", message::kEnterTriangleBase, "请输入三角形底"},
    {"kEnterTriangleHeight", message::kEnterTriangleHeight, "请输入三角形高"},
    {"kTrianglePerimeterNote", message::kTrianglePerimeterNote, "三角形周长等于三条边之和"},
    {"kEnterParallelogramBase", message::kEnterParallelogramBase, "请输入平行四边形的底"},
    {"kEnterParallelogramHeight", message::kEnterParallelogramHeight, "请输入平行四边形的高"},
    {"kParallelogramPerimeterNote", message::kParallelogramPerimeterNote,
     "平行四边形周长等于四条边之和"},
    {"kEnterTrapezoidUpperBase", message::kEnterTrapezoidUpperBase, "请输入梯形的上底"},
    {"kEnterTrapezoidLowerBase", message::kEnterTrapezoidLowerBase, "请输入梯形的下底"},
    {"kEnterTrapezoidHeight", message::kEnterTrapezoidHeight, "请输入梯形的高"},
    {"kTrapezoidPerimeterNote", message::kTrapezoidPerimeterNote,
     "梯形周长计算公式为:上底+下底+两腰之和"},
    {"kResultTitle", message::kResultTitle, "计算结果"},
    {"kPaused", message::kPaused, "暂停"},
};

TEST(MessageTexts, EveryTextDecodesFromGbkToItsChinese) {
  const iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    GTEST_SKIP() << "this C library has no GBK converter: the message bytes were not checked";
  }
  for (const MessageCase& row : kMessages) {
    std::string decoded;
    EXPECT_TRUE(DecodeGbk(converter, row.gbk, decoded)) << row.name << " is not valid GBK";
    EXPECT_EQ(decoded, row.chinese) << row.name;
  }
  iconv_close(converter);
}

}  // namespace
}  // namespace velquist
