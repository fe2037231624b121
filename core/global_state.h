// The values that live for the whole run: the π texts and the four cells the
// calculators store their quantities in.
//
// The program has exactly one instance, TheGlobalState(); tests build their own
// and hand it to the calculators.
#pragma once

#include <string>
#include <string_view>

namespace velquist {

struct GlobalState {
  // Refers to the program's constant π text once the main window exists;
  // never a copy of it.
  std::string_view PiText;
  // The cut of PiText made by the last press of the circle's button.
  std::string TruncatedPiText;

  float PerimeterCell = 0.0f;
  float AreaCell = 0.0f;
  float SurfaceCell = 0.0f;
  float VolumeCell = 0.0f;
};

GlobalState& TheGlobalState();

// Both texts empty, every cell +0.0.
void InitGlobalState(GlobalState& state = TheGlobalState());

// Releases TruncatedPiText, then PiText, leaving both empty.
void ReleaseGlobalState(GlobalState& state = TheGlobalState());

}  // namespace velquist
