// What tests may do to the run beyond its interface (application.h). The
// program itself never calls any of it.
#pragma once

#include <functional>

namespace velquist::testing {

// Called right after the exit clean-up routine has run, so that a test can
// count its runs.
void SetCleanupObserver(std::function<void()> observer);

}  // namespace velquist::testing
