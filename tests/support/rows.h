// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a complete method run, for tables whose every row shows the same estimate.
#pragma once

#include <string>
#include <vector>

#include "model/methods.h"

namespace integral::test {

// The counter of each row: 2, 4, ..., 20 panels; 2 to 6 nodes; 2000, 4000, ..., 50000 samples.
inline std::vector<int> counters(Method method) {
    const int first = method == Method::MonteCarlo ? 2000 : 2;
    const int step = method == Method::Gauss ? 1 : first;
    std::vector<int> result;
    for (int row = 0; row < methodInfo(method).rows; ++row) {
        result.push_back(first + row * step);
    }
    return result;
}

inline std::vector<std::string> rowsWithEstimate(Method method, const std::string& estimate) {
    std::vector<std::string> rows;
    for (int counter : counters(method)) {
        rows.push_back(std::to_string(counter) + "   " + estimate);
    }
    return rows;
}

}  // namespace integral::test
