// SPDX-License-Identifier: GPL-3.0-or-later
#include "runtime/variant.h"

#include <algorithm>
#include <bit>
#include <cfloat>
#include <cstdint>
#include <limits>

namespace integral {

namespace {

using Type = Variant::Type;

int rank(Type t) {
    return static_cast<int>(t);
}

std::int64_t integerValue(const Variant& v) {
    return static_cast<std::int64_t>(v.toDouble());
}

Variant integerResult(std::int64_t value, Type width) {
    if (width == Type::Integer && value >= INT16_MIN && value <= INT16_MAX) {
        return Variant::integer(static_cast<std::int16_t>(value));
    }
    if (value >= INT32_MIN && value <= INT32_MAX) {
        return Variant::longInteger(static_cast<std::int32_t>(value));
    }
    return Variant::real(static_cast<double>(value));
}

}  // namespace

void Variant::raiseNonFinite(double value) {
    throw RuntimeError(std::isnan(value) ? Fault::InvalidOperation : Fault::Overflow);
}

float Variant::toSingle() const {
    const double value = toDouble();
    // Doubles from FLT_MAX up to (not including) the midpoint between FLT_MAX and 2^128 still
    // round to FLT_MAX; the midpoint itself rounds to even, which is infinity.
    constexpr double kFirstBeyond = 0x1.ffffffp127;
    if (std::fabs(value) >= kFirstBeyond) {
        throw RuntimeError(Fault::Overflow);
    }
    if (std::fabs(value) > FLT_MAX) {
        return value < 0 ? -FLT_MAX : FLT_MAX;
    }
    return static_cast<float>(value);
}

Variant Variant::operator-() const {
    switch (type_) {
        case Type::Double:
            return real(-d_);
        case Type::Single:
            return single(-s_);
        case Type::Long:
            return integerResult(-static_cast<std::int64_t>(l_), Type::Long);
        case Type::Integer:
            return integerResult(-static_cast<std::int64_t>(l_), Type::Integer);
        case Type::Empty:
            break;
    }
    return integer(0);
}

bool Variant::identical(const Variant& other) const noexcept {
    if (type_ != other.type_) {
        return false;
    }
    switch (type_) {
        case Type::Double:
            return std::bit_cast<std::uint64_t>(d_) == std::bit_cast<std::uint64_t>(other.d_);
        case Type::Single:
            return std::bit_cast<std::uint32_t>(s_) == std::bit_cast<std::uint32_t>(other.s_);
        case Type::Integer:
        case Type::Long:
            return l_ == other.l_;
        case Type::Empty:
            break;
    }
    return true;
}

Variant Variant::arithmetic(Op op, const Variant& a, const Variant& b) {
    Type width = static_cast<Type>(std::max({rank(a.type_), rank(b.type_), rank(Type::Integer)}));
    if (width == Type::Single && (a.type_ == Type::Long || b.type_ == Type::Long)) {
        width = Type::Double;
    }
    if (op == Op::Divide) {
        if (b.toDouble() == 0.0) {
            throw RuntimeError(a.toDouble() == 0.0 ? Fault::InvalidOperation
                                                   : Fault::DivisionByZero);
        }
        if (width != Type::Single) {
            return real(a.toDouble() / b.toDouble());
        }
        return single(static_cast<float>(a.toDouble()) / static_cast<float>(b.toDouble()));
    }
    switch (width) {
        case Type::Integer:
        case Type::Long: {
            const std::int64_t x = integerValue(a);
            const std::int64_t y = integerValue(b);
            const std::int64_t r = op == Op::Add ? x + y : op == Op::Subtract ? x - y : x * y;
            return integerResult(r, width);
        }
        case Type::Single: {
            // Operands are Single, Integer or Empty here: each converts to float exactly.
            const float x = static_cast<float>(a.toDouble());
            const float y = static_cast<float>(b.toDouble());
            return single(op == Op::Add ? x + y : op == Op::Subtract ? x - y : x * y);
        }
        default: {
            const double x = a.toDouble();
            const double y = b.toDouble();
            return real(op == Op::Add ? x + y : op == Op::Subtract ? x - y : x * y);
        }
    }
}

}  // namespace integral
