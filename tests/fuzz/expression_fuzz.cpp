// SPDX-License-Identifier: GPL-3.0-or-later
// Any text typed as an integrand: it is read as an expression of x or refused with a message
// that names a column within the text and repeats no control character; a read expression is
// evaluated anywhere without a crash, and integrated, with a finite reference or none.
#include <cmath>
#include <string>
#include <variant>

#include "fuzz_checks.h"
#include "integrands/integrand_descriptor.h"
#include "integrands/typed_expression.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    integral::fuzz::Bytes bytes(data, size);
    const double x = bytes.take<double>();
    const std::string_view text = bytes.rest();
    auto result = integral::TypedExpression::parse(text);
    if (const auto* problem = std::get_if<integral::ExpressionProblem>(&result)) {
        integral::fuzz::check(
            problem->column >= 1 && static_cast<std::size_t>(problem->column) <= text.size() + 1,
            "column within the text", problem->message);
        for (const char c : problem->message) {
            integral::fuzz::check(static_cast<unsigned char>(c) >= 0x20, "printable message",
                                  problem->message);
        }
        return 0;
    }
    const auto expression = std::get<std::shared_ptr<const integral::TypedExpression>>(result);
    for (const double at : {x, 0.0, -1.0, 1e300}) {
        (void)expression->evaluate(at);
    }
    const integral::IntegrandDescriptor integrand(expression);
    if (const auto reference = integrand.reference(0.0, 1.0).value) {
        integral::fuzz::check(
            std::isfinite(reference->value) && std::isfinite(reference->uncertainty),
            "finite reference");
    }
    return 0;
}
