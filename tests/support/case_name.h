#pragma once

#include <string>

// Names each row of a table-driven test after its own name field.
namespace korvel::testing {

inline constexpr auto caseName = [](const auto& info) { return std::string(info.param.name); };

}  // namespace korvel::testing
