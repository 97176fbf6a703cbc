// SPDX-License-Identifier: GPL-3.0-or-later
// The three methods: the one place that names them, with the caption of the button that runs
// each and the number of rows a complete run shows.
#pragma once

#include <array>
#include <optional>
#include <string_view>

namespace integral {

enum class Method { Zelbrin, Gauss, MonteCarlo };

struct MethodInfo {
    Method method;
    std::string_view caption;  // the button's caption, also the method's name on a command line
    std::string_view description;
    std::string_view unit;  // what a row's counter counts
    int rows;
};

inline constexpr std::array<MethodInfo, 3> kMethods = {{
    {Method::Zelbrin, "Zelbrin", "composite parabolic rule, 2 to 20 panels", "panels", 10},
    {Method::Gauss, "Gauss", "Gauss-Legendre quadrature, 2 to 6 nodes", "nodes", 5},
    {Method::MonteCarlo, "MonteCarlo", "hit-or-miss Monte Carlo, 2000 to 50000 samples", "samples",
     25},
}};

constexpr const MethodInfo& methodInfo(Method method) {
    return kMethods[static_cast<std::size_t>(method)];
}

// The counter of a method's row: 2, 4, ..., 20 panels; 2 to 6 nodes; 2000, ..., 50000 samples.
constexpr int rowCounter(Method method, int row) {
    switch (method) {
        case Method::Zelbrin:
            return 2 * (row + 1);
        case Method::Gauss:
            return row + 2;
        case Method::MonteCarlo:
            break;
    }
    return 2000 * (row + 1);
}

// The method whose caption matches `name` without regard to case.
constexpr std::optional<Method> methodNamed(std::string_view name) {
    const auto lower = [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    };
    for (const MethodInfo& info : kMethods) {
        if (info.caption.size() != name.size()) {
            continue;
        }
        bool same = true;
        for (std::size_t i = 0; i < name.size(); ++i) {
            same = same && lower(info.caption[i]) == lower(name[i]);
        }
        if (same) {
            return info.method;
        }
    }
    return std::nullopt;
}

}  // namespace integral
