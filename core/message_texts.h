// Every message and caption the calculators show, as GBK (code page 936)
// bytes, since that is what the window layer receives. Each text is written
// as escaped bytes with its Chinese on the line above; core_texts_test decodes
// every one and compares it with that Chinese, so a mistyped byte is caught.
//
// A literal is split where a hex escape would otherwise swallow the ASCII
// digits that follow it ("\xBA\xF3" "1000").
#pragma once

#include <string_view>

namespace velquist::message {

// Circle.
// 请输入小数点位数
inline constexpr std::string_view kEnterDecimalPlaces =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD0\xA1\xCA\xFD\xB5\xE3\xCE\xBB\xCA\xFD";
// 最多可运算到小数点后1000位
inline constexpr std::string_view kAtMost1000DecimalPlaces =
    "\xD7\xEE\xB6\xE0\xBF\xC9\xD4\xCB\xCB\xE3\xB5\xBD\xD0\xA1\xCA\xFD\xB5\xE3\xBA\xF3"
    "1000\xCE\xBB";
// 小数点位数不能为负数
inline constexpr std::string_view kDecimalPlacesNotNegative =
    "\xD0\xA1\xCA\xFD\xB5\xE3\xCE\xBB\xCA\xFD\xB2\xBB\xC4\xDC\xCE\xAA\xB8\xBA\xCA\xFD";
// 请输入圆的直径
inline constexpr std::string_view kEnterCircleDiameter =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xD4\xB2\xB5\xC4\xD6\xB1\xBE\xB6";

// Rectangle and cuboid.
// 请输入矩形长
inline constexpr std::string_view kEnterRectangleLength =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xBE\xD8\xD0\xCE\xB3\xA4";
// 请输入矩形宽
inline constexpr std::string_view kEnterRectangleWidth =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xBE\xD8\xD0\xCE\xBF\xED";
// 请输入矩形高
inline constexpr std::string_view kEnterRectangleHeight =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xBE\xD8\xD0\xCE\xB8\xDF";

// Triangle.
// 请输入三角形底
inline constexpr std::string_view kEnterTriangleBase =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xC8\xFD\xBD\xC7\xD0\xCE\xB5\xD7";
// 请输入三角形高
inline constexpr std::string_view kEnterTriangleHeight =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xC8\xFD\xBD\xC7\xD0\xCE\xB8\xDF";
// 三角形周长等于三条边之和
inline constexpr std::string_view kTrianglePerimeterNote =
    "\xC8\xFD\xBD\xC7\xD0\xCE\xD6\xDC\xB3\xA4\xB5\xC8\xD3\xDA\xC8\xFD\xCC\xF5\xB1\xDF\xD6\xAE\xBA\xCD";

// Parallelogram.
// 请输入平行四边形的底
inline constexpr std::string_view kEnterParallelogramBase =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xC6\xBD\xD0\xD0\xCB\xC4\xB1\xDF\xD0\xCE\xB5\xC4\xB5\xD7";
// 请输入平行四边形的高
inline constexpr std::string_view kEnterParallelogramHeight =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xC6\xBD\xD0\xD0\xCB\xC4\xB1\xDF\xD0\xCE\xB5\xC4\xB8\xDF";
// 平行四边形周长等于四条边之和
inline constexpr std::string_view kParallelogramPerimeterNote =
    "\xC6\xBD\xD0\xD0\xCB\xC4\xB1\xDF\xD0\xCE\xD6\xDC\xB3\xA4\xB5\xC8\xD3\xDA\xCB\xC4\xCC\xF5\xB1\xDF\xD6\xAE\xBA\xCD";

// Trapezoid.
// 请输入梯形的上底
inline constexpr std::string_view kEnterTrapezoidUpperBase =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xCC\xDD\xD0\xCE\xB5\xC4\xC9\xCF\xB5\xD7";
// 请输入梯形的下底
inline constexpr std::string_view kEnterTrapezoidLowerBase =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xCC\xDD\xD0\xCE\xB5\xC4\xCF\xC2\xB5\xD7";
// 请输入梯形的高
inline constexpr std::string_view kEnterTrapezoidHeight =
    "\xC7\xEB\xCA\xE4\xC8\xEB\xCC\xDD\xD0\xCE\xB5\xC4\xB8\xDF";
// 梯形周长计算公式为:上底+下底+两腰之和
inline constexpr std::string_view kTrapezoidPerimeterNote =
    "\xCC\xDD\xD0\xCE\xD6\xDC\xB3\xA4\xBC\xC6\xCB\xE3\xB9\xAB\xCA\xBD\xCE\xAA:\xC9\xCF\xB5\xD7+\xCF\xC2\xB5\xD7+"
    "\xC1\xBD\xD1\xFC\xD6\xAE\xBA\xCD";

// The caption of the perimeter notes that carry the information icon.
// 计算结果
inline constexpr std::string_view kResultTitle = "\xBC\xC6\xCB\xE3\xBD\xE1\xB9\xFB";

// Cylinder, cone and sphere.
// 暂停
inline constexpr std::string_view kPaused = "\xD4\xDD\xCD\xA3";

}  // namespace velquist::message
