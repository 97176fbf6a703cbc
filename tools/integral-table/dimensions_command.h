// SPDX-License-Identifier: GPL-3.0-or-later
// integral-table --dimensions D: integrals over the d-dimensional cube, a Genz family (or the
// ball) or a typed f(x1, ..., xd), by one method's table, a race at a budget or a sweep.
// Same statuses as the rest of the tool: 0 done, 1 f failed, 2 usage error (nothing on stdout).
#pragma once

#include <ostream>
#include <span>
#include <string>
#include <string_view>

namespace integral {

int runDimensions(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

// The lines of --help on --dimensions, from the family and method tables.
std::string dimensionsUsage();

}  // namespace integral
