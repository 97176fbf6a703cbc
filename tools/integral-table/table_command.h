// SPDX-License-Identifier: GPL-3.0-or-later
// The table tool's whole behaviour, apart from main(), so tests can drive it with strings.
//
//   integral-table --method zelbrin|gauss|montecarlo [--integrand 1-5] [--lower A]
//                  [--upper B] [--ymax Y]
//
// Prints the rows a method shows, one per line, then the summary line. Exit status: 0 after a
// complete table; 1 after a run-time error (the rows made before it on stdout, the fault on
// stderr); 2 for a usage error (a message on stderr, nothing on stdout); 3 when the output
// could not be written; 4 when memory ran out. Every failure says so on stderr.
#pragma once

#include <ostream>
#include <span>
#include <string_view>

namespace integral {

int runTableCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err);

}  // namespace integral
