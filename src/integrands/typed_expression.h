// SPDX-License-Identifier: GPL-3.0-or-later
// An integrand the student types: f(x) as an expression, read and evaluated by the muparser
// library in double arithmetic. x is the only variable; the usual functions (sin, cos, tan,
// their inverses and hyperbolic forms, exp, ln and log for the natural logarithm, log10, sqrt,
// abs), ^ for powers, the constants pi and e; the five labels' capitalised spellings (Exp, Sin,
// ...) are taken too, and so is a leading "y =" or "f(x) =", so that a label's text can be
// typed as it reads:
//   "x^4", "1/sqrt(x)", "abs(x)", "sin(10*x)", "y = x*Exp(-x)", "exp(-x*x/2)/sqrt(6.283184)*10"
// Text that is no expression of x gives a problem with its column (1 for the first character):
//   "x*y"   -> column 3: "y" is not known; the only variable is x
//   "sin(x" -> column 6: a bracket is not closed
#pragma once

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

#include "integrands/integrand.h"

namespace integral {

struct ExpressionProblem {
    // In English. The text's characters in it stand as a person sees them; those that show as
    // nothing or would turn the line around are named by code point (U+200F), and bytes that
    // are no UTF-8 character as \xNN, so no control character reaches a message.
    std::string message;
    int column = 1;  // where in the text, in characters from 1
};

class TypedExpression {
  public:
    // The text as read (after a leading "y =" or "f(x) =") or what is wrong with it.
    static std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> parse(
        std::string_view text);
    // The same for f(x1, ..., xd) over d = `variables` (1 to kMaxVariables) coordinates: x1 to
    // xd are its variables, and x alone is not one.
    //   "x11" with 10 variables -> column of x11: "x11" is not known; the variables are x1 to x10
    static std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> parse(
        std::string_view text, int variables);
    // The text of f(x1) at d = 1 read as f(x): its one variable spelled x1, it evaluates, rounds
    // and has a reference as an expression of x does, so that the methods of one dimension take
    // the very f the cube's methods take at d = 1.
    static std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> parseOfX1(
        std::string_view text);

    static constexpr int kMaxVariables = 20;

    ~TypedExpression();
    TypedExpression(const TypedExpression&) = delete;
    TypedExpression& operator=(const TypedExpression&) = delete;

    // What the student typed, as typed.
    const std::string& text() const { return text_; }

    // f(x) in double arithmetic; infinite or NaN where the expression has no finite value.
    double evaluate(double x) const;
    // How far f(x) moves when each value its functions return moves by one rounding: what
    // the rounding of its own operations may have cost it, which is all of f where it is the
    // small difference of much larger values (1 - cos(x) near 0). Not thread-safe, as
    // evaluate() is not.
    double roundingOfFunctions(double x) const;
    // The same with the values of its multiplications, divisions and powers moved as well:
    // (1+x)^2 - 1 and 1/(1-x) - 1 lose all of x to the rounding of an operator near 0.
    double roundingOfOperations(double x) const;
    // For an expression of x1 ... xd, how far f moves at `point` when its functions and
    // operators move their values by one rounding, the larger of the two ways.
    double roundingAt(const double* point) const;
    // f(x1, ..., xd) of an expression read with d variables, at point[0 .. d-1].
    double evaluateAt(const double* point) const;
    int variables() const { return variables_; }
    // The same evaluation for loops over many points (valid while the expression lives).
    PlainEvaluator plainEvaluator() const;

    // The most points plainEvaluator() takes in one batch.
    static constexpr int kBatch = 8192;

  private:
    struct Evaluator;
    // `single` names the variable where `variables` is 0.
    static std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> read(
        std::string_view text, int variables, const char* single);
    TypedExpression(std::string text, std::unique_ptr<Evaluator> evaluator, int variables);
    // How far f(x) moves in the copy `copy` of the library's (a handle), all moved up and up
    // and down in turn.
    double roundingIn(void* copy, double x) const;
    // How far the copy moves f from `value`, its variables already set.
    double movedIn(void* copy, double value) const;

    std::string text_;
    int variables_ = 0;
    std::unique_ptr<Evaluator> evaluator_;
};

// The functions an expression may call, as the student types them; the list's capitalised
// spellings (Exp, Sin, ...) are taken too. Every text that names them is made from this list.
inline constexpr std::array<std::string_view, 15> kTypedFunctions = {
    "sin",  "cos", "tan", "asin", "acos",  "atan", "sinh", "cosh",
    "tanh", "exp", "ln",  "log",  "log10", "sqrt", "abs"};

// "sin, cos, ... and abs" with separator ", " and last " and ".
std::string typedFunctionList(std::string_view separator, std::string_view last);

// The longest text taken, in characters; a longer one is a problem of its own.
inline constexpr std::size_t kMaxExpressionLength = 1000;

}  // namespace integral
