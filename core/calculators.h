// The figure calculators behind the main window's "计算" buttons.
//
// Each one computes every quantity of its group from the fields, stores them
// in the global cells, then checks its inputs in a fixed order (the first
// empty one shows its message and ends the press), and finally writes the
// selected quantity into the group's result box.
#pragma once

#include "core/form_access.h"
#include "core/global_state.h"

namespace velquist {

void CalculateCircle(FormAccess& form, GlobalState& state = TheGlobalState());
void CalculateRectangle(FormAccess& form, GlobalState& state = TheGlobalState());
void CalculateTriangle(FormAccess& form, GlobalState& state = TheGlobalState());
void CalculateParallelogram(FormAccess& form, GlobalState& state = TheGlobalState());
void CalculateTrapezoid(FormAccess& form, GlobalState& state = TheGlobalState());

// The solid figures are not computed yet: each button only says so.
void CalculateCylinder(FormAccess& form);
void CalculateCone(FormAccess& form);
void CalculateSphere(FormAccess& form);

}  // namespace velquist
