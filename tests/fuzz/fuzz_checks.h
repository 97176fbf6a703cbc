// SPDX-License-Identifier: GPL-3.0-or-later
// Shared by the fuzz harnesses: reading values out of the fuzzer's bytes and the shapes every
// printed number must have. A failed check aborts, which libFuzzer reports as a finding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <regex>
#include <string>
#include <string_view>

namespace integral::fuzz {

inline void check(bool condition, const char* what, std::string_view detail = {}) {
    if (!condition) {
        std::fprintf(stderr, "check failed: %s [%.*s]\n", what, static_cast<int>(detail.size()),
                     detail.data());
        std::abort();
    }
}

class Bytes {
  public:
    Bytes(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T take() {
        T value{};
        const std::size_t n = std::min(sizeof(T), size_);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    std::string_view rest() const { return {reinterpret_cast<const char*>(data_), size_}; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
};

inline bool noInfOrNan(std::string_view text) {
    for (std::string_view word : {"inf", "nan", "INF", "NAN", "Inf", "NaN"}) {
        if (text.find(word) != std::string_view::npos) {
            return false;
        }
    }
    return true;
}

// "###.#####": no integer zero, no trailing fraction zero, the point always there.
inline const std::regex& estimateShape() {
    static const std::regex shape(R"(-?([1-9][0-9]*)?\.([0-9]{0,4}[1-9])?)");
    return shape;
}
// "0.#####"
inline const std::regex& summaryShape() {
    static const std::regex shape(R"(-?(0|[1-9][0-9]*)\.([0-9]{0,4}[1-9])?)");
    return shape;
}
// "######"
inline const std::regex& counterShape() {
    static const std::regex shape(R"((-?[1-9][0-9]*)?)");
    return shape;
}
// The plain conversion.
inline const std::regex& plainShape() {
    static const std::regex shape(R"(-?(0|[1-9][0-9]*)(\.[0-9]*[1-9])?(E[+-][0-9]{2,3})?)");
    return shape;
}

inline bool matches(const std::string& text, const std::regex& shape) {
    return std::regex_match(text, shape);
}

}  // namespace integral::fuzz
