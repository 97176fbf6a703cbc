// SPDX-License-Identifier: GPL-3.0-or-later
// A typed integrand from its text, for tests that need one; a text that does not parse fails
// the test that gave it.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string_view>
#include <variant>

#include "integrands/integrand_descriptor.h"
#include "integrands/typed_expression.h"

namespace integral::test {

inline std::shared_ptr<const TypedExpression> parsed(std::string_view text) {
    auto result = TypedExpression::parse(text);
    EXPECT_TRUE(std::holds_alternative<std::shared_ptr<const TypedExpression>>(result)) << text;
    if (!std::holds_alternative<std::shared_ptr<const TypedExpression>>(result)) {
        return nullptr;
    }
    return std::get<std::shared_ptr<const TypedExpression>>(std::move(result));
}

inline IntegrandDescriptor typed(std::string_view text) {
    return IntegrandDescriptor(parsed(text));
}

}  // namespace integral::test
