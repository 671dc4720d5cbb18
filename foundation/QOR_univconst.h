// Universal constants.
#pragma once

#include <limits>

namespace qor {

// The largest finite double.
constexpr double uc_MaxDouble = std::numeric_limits<double>::max();

} // namespace qor
