#include "core/global_state.h"

namespace velquist {

GlobalState& TheGlobalState() {
  static GlobalState state;
  return state;
}

void InitGlobalState(GlobalState& state) { state = GlobalState{}; }

void ReleaseGlobalState(GlobalState& state) {
  state.TruncatedPiText.clear();
  state.TruncatedPiText.shrink_to_fit();
  state.PiText = {};
}

}  // namespace velquist
