#pragma once

#include <string>
#include <string_view>

// The first executable file of that name in the folders of the search path (PATH), "" when
// there is none. Relative folders on the path are passed over: they would depend on the current
// folder, which the launcher moves with its scenery list.
std::string findOnSearchPath(std::string_view name);
