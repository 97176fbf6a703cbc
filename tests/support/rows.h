// SPDX-License-Identifier: GPL-3.0-or-later
// The rows of a complete method run, for tables whose every row shows the same estimate.
#pragma once

#include <string>
#include <vector>

#include "model/methods.h"

namespace integral::test {

inline std::vector<std::string> rowsWithEstimate(Method method, const std::string& estimate) {
    std::vector<std::string> rows;
    for (int row = 0; row < methodInfo(method).rows; ++row) {
        rows.push_back(std::to_string(rowCounter(method, row)) + "   " + estimate);
    }
    return rows;
}

}  // namespace integral::test
