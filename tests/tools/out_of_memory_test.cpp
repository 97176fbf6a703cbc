// SPDX-License-Identifier: GPL-3.0-or-later
// Memory running out anywhere in a run of the table tool ends it with its own status and a
// message, never an abort; in a method run of the window it is a fault like any other. Every
// allocation of this test program goes through the counting operator new below, which fails exactly
// the one allocation it is told to.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <string_view>
#include <variant>
#include <vector>

#include "integrands/typed_expression.h"
#include "model/model.h"
#include "table_command.h"

namespace {
long allocationsUntilFailure = -1;  // -1: never fail
}  // namespace

// Not inlined: the compiler would see free() applied to what it takes for the built-in new.
[[gnu::noinline]] void* operator new(std::size_t size) {
    if (allocationsUntilFailure >= 0 && allocationsUntilFailure-- == 0) {
        throw std::bad_alloc();
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
[[gnu::noinline]] void operator delete(void* memory) noexcept {
    std::free(memory);
}
[[gnu::noinline]] void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace integral {
namespace {

// Output into a fixed array, so that writing allocates nothing, as writing to a file does not.
class FixedStream : public std::ostream {
  public:
    FixedStream() : std::ostream(&buffer_) {}
    std::string_view text() const { return buffer_.text(); }

  private:
    struct Buffer : std::streambuf {
        Buffer() { setp(bytes, bytes + sizeof bytes); }
        std::string_view text() const {
            return {pbase(), static_cast<std::size_t>(pptr() - pbase())};
        }
        char bytes[4096];
    } buffer_;
};

TEST(TableCommandOutOfMemoryTest, EveryFailedAllocationEndsWithStatusFour) {
    const std::vector<std::string_view> args = {"--method", "zelbrin", "--integrand", "2",
                                                "--lower",  "0",       "--upper",     "1"};
    int failures = 0;
    for (long failing = 0;; ++failing) {
        SCOPED_TRACE(failing);
        FixedStream out;
        FixedStream err;
        allocationsUntilFailure = failing;
        const int status = runTableCommand(args, out, err);
        const bool failed = allocationsUntilFailure < 0;
        allocationsUntilFailure = -1;
        if (!failed) {
            EXPECT_EQ(status, 0);
            break;
        }
        ++failures;
        EXPECT_EQ(status, 4);
        EXPECT_EQ(err.text(), "integral-table: out of memory\n");
    }
    EXPECT_GT(failures, 10);
}

// The window's side: a method run that runs out of memory comes back as a fault to report,
// with the rows made before it.
TEST(ModelOutOfMemoryTest, EveryFailedAllocationOfARunIsReportedAsAFault) {
    int failures = 0;
    for (long failing = 0;; ++failing) {
        SCOPED_TRACE(failing);
        Model model;
        model.chooseIntegrand(1);
        model.setUpper(Variant::real(1));
        allocationsUntilFailure = failing;
        const MethodRun run = model.run(Method::Gauss);
        const bool failed = allocationsUntilFailure < 0;
        allocationsUntilFailure = -1;
        if (!failed) {
            EXPECT_FALSE(run.fault.has_value());
            break;
        }
        ++failures;
        EXPECT_EQ(run.fault, Fault::OutOfMemory);
        EXPECT_FALSE(run.summary.has_value());
    }
    EXPECT_GT(failures, 5);
}

// A typed integrand's reference meets memory running out as the run does: it ends by
// bad_alloc, never by a reason about f's values, wherever in its quadratures the allocation
// fails.
TEST(ModelOutOfMemoryTest, AReferenceThatRunsOutOfMemorySaysNothingOfF) {
    const auto parsed = TypedExpression::parse("sqrt(x)*sin(3*x)");
    const auto expression = std::get<std::shared_ptr<const TypedExpression>>(parsed);
    const auto allocations = [&] {
        const IntegrandDescriptor f(expression);
        allocationsUntilFailure = 1L << 40;
        EXPECT_TRUE(f.reference(0.0, 2.0).value.has_value());
        const long made = (1L << 40) - allocationsUntilFailure;
        allocationsUntilFailure = -1;
        return made;
    };
    const long made = allocations();
    ASSERT_GT(made, 20);
    for (long failing = 1; failing < made; failing += std::max(1L, made / 40)) {
        SCOPED_TRACE(failing);
        const IntegrandDescriptor f(expression);
        allocationsUntilFailure = failing;
        EXPECT_THROW((void)f.reference(0.0, 2.0), std::bad_alloc);
        allocationsUntilFailure = -1;
    }
}

}  // namespace
}  // namespace integral
