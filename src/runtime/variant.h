// SPDX-License-Identifier: GPL-3.0-or-later
// The numeric value every computation of the program works with: Empty, a 16-bit or 32-bit
// integer, a single or a double. The last digits of every table depend on which width an
// intermediate result has, so the widening rules are the contract:
//   - Empty counts as 0; Empty with Empty gives the 16-bit integer 0.
//   - +, -, * give the wider operand's type (Empty < Integer < Long < Single < Double), except
//     that Long with Single gives Double, since a single cannot hold every 32-bit integer.
//     An Integer result that does not fit becomes a Long; a Long that does not fit, a Double.
//   - / never truncates: integers divided by integers give a Double; Single/Single and
//     Single/Integer stay Single.
//   - A result that is not finite raises RuntimeError: Overflow for an infinite result,
//     Division by zero for x/0 with x != 0, Invalid operation for 0/0.
// A Variant never holds an infinity or a NaN.
#pragma once

#include <cmath>
#include <cstdint>

#include "runtime/runtime_error.h"

namespace integral {

class Variant {
  public:
    enum class Type : std::uint8_t { Empty, Integer, Long, Single, Double };

    constexpr Variant() noexcept : type_(Type::Empty), d_(0.0) {}

    static constexpr Variant integer(std::int16_t value) noexcept {
        Variant v;
        v.type_ = Type::Integer;
        v.l_ = value;
        return v;
    }
    static constexpr Variant longInteger(std::int32_t value) noexcept {
        Variant v;
        v.type_ = Type::Long;
        v.l_ = value;
        return v;
    }
    // Raises Overflow (infinite) or Invalid operation (NaN).
    static Variant single(float value) {
        if (!std::isfinite(value)) [[unlikely]] {
            raiseNonFinite(value);
        }
        Variant v;
        v.type_ = Type::Single;
        v.s_ = value;
        return v;
    }
    // Raises Overflow (infinite) or Invalid operation (NaN).
    static Variant real(double value) {
        if (!std::isfinite(value)) [[unlikely]] {
            raiseNonFinite(value);
        }
        Variant v;
        v.type_ = Type::Double;
        v.d_ = value;
        return v;
    }

    Type type() const noexcept { return type_; }
    bool isEmpty() const noexcept { return type_ == Type::Empty; }

    // Exact for every type; Empty gives 0.
    double toDouble() const noexcept {
        if (type_ == Type::Double) {
            return d_;
        }
        if (type_ == Type::Single) {
            return s_;
        }
        return type_ == Type::Empty ? 0.0 : l_;
    }
    // The nearest single; a magnitude that rounds beyond the single range raises Overflow.
    float toSingle() const;

    friend Variant operator+(const Variant& a, const Variant& b) {
        if (a.type_ == Type::Double || b.type_ == Type::Double) {
            return real(a.toDouble() + b.toDouble());
        }
        if (a.type_ == Type::Single && b.type_ == Type::Single) {
            return single(a.s_ + b.s_);
        }
        if (a.type_ == Type::Integer && b.type_ == Type::Integer) {
            return fromInteger(a.l_ + b.l_);
        }
        return arithmetic(Op::Add, a, b);
    }
    friend Variant operator-(const Variant& a, const Variant& b) {
        if (a.type_ == Type::Double || b.type_ == Type::Double) {
            return real(a.toDouble() - b.toDouble());
        }
        if (a.type_ == Type::Single && b.type_ == Type::Single) {
            return single(a.s_ - b.s_);
        }
        if (a.type_ == Type::Integer && b.type_ == Type::Integer) {
            return fromInteger(a.l_ - b.l_);
        }
        return arithmetic(Op::Subtract, a, b);
    }
    friend Variant operator*(const Variant& a, const Variant& b) {
        if (a.type_ == Type::Double || b.type_ == Type::Double) {
            return real(a.toDouble() * b.toDouble());
        }
        if (a.type_ == Type::Single && b.type_ == Type::Single) {
            return single(a.s_ * b.s_);
        }
        return arithmetic(Op::Multiply, a, b);
    }
    friend Variant operator/(const Variant& a, const Variant& b) {
        if ((a.type_ == Type::Double || b.type_ == Type::Double) && b.toDouble() != 0.0) {
            return real(a.toDouble() / b.toDouble());
        }
        return arithmetic(Op::Divide, a, b);
    }
    Variant operator-() const;

    // Comparisons are numeric; every value is exact as a double, so comparing there is exact.
    friend bool operator==(const Variant& a, const Variant& b) noexcept {
        return a.toDouble() == b.toDouble();
    }
    friend bool operator<(const Variant& a, const Variant& b) noexcept {
        return a.toDouble() < b.toDouble();
    }
    friend bool operator<=(const Variant& a, const Variant& b) noexcept {
        return a.toDouble() <= b.toDouble();
    }
    friend bool operator>(const Variant& a, const Variant& b) noexcept { return b < a; }
    friend bool operator>=(const Variant& a, const Variant& b) noexcept { return b <= a; }

    // Same type and same bits (an Empty equals only an Empty); for tests and state checks.
    bool identical(const Variant& other) const noexcept;

  private:
    // The sum or difference of two 16-bit integers: 16 bits when it fits, else 32.
    static constexpr Variant fromInteger(std::int32_t value) noexcept {
        return value >= INT16_MIN && value <= INT16_MAX ? integer(static_cast<std::int16_t>(value))
                                                        : longInteger(value);
    }

    enum class Op : std::uint8_t { Add, Subtract, Multiply, Divide };

    [[noreturn]] static void raiseNonFinite(double value);
    static Variant arithmetic(Op op, const Variant& a, const Variant& b);

    Type type_;
    union {
        std::int32_t l_;  // Integer and Long
        float s_;
        double d_;
    };
};

}  // namespace integral
