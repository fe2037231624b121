// The floor's title, by which tools/startup_time recognises its window.
#pragma once

inline constexpr const char* kStartupFloorTitle = "平面与立体图形计算（对照窗口）";
