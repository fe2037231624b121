// The identifiers of the main window's group boxes, edit boxes, radio buttons
// and buttons, exactly as the window definition names them (also where the
// words do not match the group). Code reaches controls by these names, never
// by a visible text.
#pragma once

#include <string_view>

namespace velquist::control {

inline constexpr std::string_view 分组框1 = "分组框1";
inline constexpr std::string_view 分组框2 = "分组框2";
inline constexpr std::string_view 分组框3 = "分组框3";
inline constexpr std::string_view 分组框4 = "分组框4";
inline constexpr std::string_view 分组框5 = "分组框5";
inline constexpr std::string_view 分组框6 = "分组框6";
inline constexpr std::string_view 分组框7 = "分组框7";
inline constexpr std::string_view 分组框8 = "分组框8";

inline constexpr std::string_view 圆周长 = "圆周长";
inline constexpr std::string_view 圆面积 = "圆面积";
inline constexpr std::string_view 圆计算 = "圆计算";
inline constexpr std::string_view 圆周率小数点编辑框 = "圆周率小数点编辑框";
inline constexpr std::string_view 圆直径编辑框 = "圆直径编辑框";
inline constexpr std::string_view 圆计算结果编辑框 = "圆计算结果编辑框";
inline constexpr std::string_view 矩形周长 = "矩形周长";
inline constexpr std::string_view 矩形面积 = "矩形面积";
inline constexpr std::string_view 矩形表面积 = "矩形表面积";
inline constexpr std::string_view 矩形体积 = "矩形体积";
inline constexpr std::string_view 矩形计算 = "矩形计算";
inline constexpr std::string_view 矩形长 = "矩形长";
inline constexpr std::string_view 矩形宽 = "矩形宽";
inline constexpr std::string_view 矩形高 = "矩形高";
inline constexpr std::string_view 矩形计算结果 = "矩形计算结果";
inline constexpr std::string_view 三角形周长 = "三角形周长";
inline constexpr std::string_view 三角形面积 = "三角形面积";
inline constexpr std::string_view 三角型计算 = "三角型计算";
inline constexpr std::string_view 三角形底 = "三角形底";
inline constexpr std::string_view 三角形高 = "三角形高";
inline constexpr std::string_view 三角形计算结果 = "三角形计算结果";
inline constexpr std::string_view 平行四边形周长 = "平行四边形周长";
inline constexpr std::string_view 平行四边形面积 = "平行四边形面积";
inline constexpr std::string_view 三角型计算1 = "三角型计算1";
inline constexpr std::string_view 平行四边形底 = "平行四边形底";
inline constexpr std::string_view 平行四边形高 = "平行四边形高";
inline constexpr std::string_view 平行四边形计算结果 = "平行四边形计算结果";
inline constexpr std::string_view 梯形周长 = "梯形周长";
inline constexpr std::string_view 梯形面积 = "梯形面积";
inline constexpr std::string_view 三角型计算2 = "三角型计算2";
inline constexpr std::string_view 梯形上底 = "梯形上底";
inline constexpr std::string_view 梯形下底 = "梯形下底";
inline constexpr std::string_view 梯形高 = "梯形高";
inline constexpr std::string_view 梯形计算结果 = "梯形计算结果";
inline constexpr std::string_view 圆柱表面积 = "圆柱表面积";
inline constexpr std::string_view 圆柱体积 = "圆柱体积";
inline constexpr std::string_view 三角型计算3 = "三角型计算3";
inline constexpr std::string_view 圆周率小数点编辑框2 = "圆周率小数点编辑框2";
inline constexpr std::string_view 圆柱底面半径 = "圆柱底面半径";
inline constexpr std::string_view 圆柱高 = "圆柱高";
inline constexpr std::string_view 圆柱计算结果 = "圆柱计算结果";
inline constexpr std::string_view 圆锥表面积 = "圆锥表面积";
inline constexpr std::string_view 圆锥体积 = "圆锥体积";
inline constexpr std::string_view 三角型计算4 = "三角型计算4";
inline constexpr std::string_view 圆周率小数点编辑框3 = "圆周率小数点编辑框3";
inline constexpr std::string_view 圆锥底 = "圆锥底";
inline constexpr std::string_view 圆锥高 = "圆锥高";
inline constexpr std::string_view 圆锥计算结果 = "圆锥计算结果";
inline constexpr std::string_view 三角形周长5 = "三角形周长5";
inline constexpr std::string_view 三角形面积5 = "三角形面积5";
inline constexpr std::string_view 三角型计算5 = "三角型计算5";
inline constexpr std::string_view 圆周率小数点编辑框1 = "圆周率小数点编辑框1";
inline constexpr std::string_view 圆直径编辑框1 = "圆直径编辑框1";
inline constexpr std::string_view 三角形计算结果5 = "三角形计算结果5";

}  // namespace velquist::control
