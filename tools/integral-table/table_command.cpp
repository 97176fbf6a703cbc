// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_command.h"

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <variant>

#include "dimensions_command.h"
#include "file_output.h"
#include "integral_version.h"
#include "integrands/typed_expression.h"
#include "model/fault_text.h"
#include "model/methods.h"
#include "model/model.h"
#include "model/race.h"
#include "runtime/escaped_bytes.h"
#include "runtime/runtime_error.h"
#include "runtime/text_to_number.h"
#include "runtime/variant.h"
#include "table_output.h"

namespace integral {

namespace {

constexpr std::string_view kOptions =
    "  --integrand  1 y = x*Exp(-x)   2 y = 4 / (x*x + 1)   3 y = x*x - 2\n"
    "               4 y = x*sin(x)    5 y = Exp(-x*x/2)10/sqrt(2pi)\n"
    "               (none: no integrand is chosen and every value is 0)\n"
    "  --function   an integrand of your own, an expression of x: x^4, 1/sqrt(x), abs(x),\n"
    "               sin(10*x), exp(-x*x/2); ^, pi and e, and the functions below (Exp,\n"
    "               Sin, ... as the labels spell them)\n"
    "               @FUNCTIONS@\n"
    "  --lower, --upper  the limits (put in order; a missing one counts as 0)\n"
    "  --ymax       the height of the Monte Carlo box (missing: 0)\n"
    "  --details    add to every row what the window's tooltips say: the exact integral, or\n"
    "               for --function the reference and its uncertainty (reference=none, and a\n"
    "               last line \"# no reference: ...\" saying why, where the integral does not\n"
    "               exist or cannot be known), the row's error (its estimate at full precision\n"
    "               minus the exact value; rounding-level where the rule's own error is no\n"
    "               larger than the rounding the row carries; below-reference-uncertainty),\n"
    "               the rule's own error and the rounding of the double arithmetic\n"
    "               (method_error, rounding_error), the ratio to the previous row's rule error,\n"
    "               the observed order (zelbrin), the evaluations of f and, for montecarlo,\n"
    "               the one-sigma uncertainty, the value the estimates converge to, the\n"
    "               distance from it in sigmas, whether sigma comes from the samples' spread\n"
    "               or, with no hit or all hits, from the rule of three (sigma_from), and how\n"
    "               far that value lies from the exact integral (limit_off_exact); for every\n"
    "               method its own error estimate, made without the exact value\n"
    "               (estimated_error), and for romberg the row's whole table\n"
    "               (table=R00|R10,R11|...)\n"
    "  --format     text (the default: the rows as the window shows them), tsv (a header\n"
    "               line, then tab-separated values at full precision) or json, which always\n"
    "               holds every figure, null where one does not exist:\n"
    "@JSON@"
    "  --compare    the race at equal cost: each method (all, or those of --methods) at the\n"
    "               largest size whose evaluations of f fit within --budget (1000 unless\n"
    "               given; 10 to 1000000), with the error it claims (its own estimate),\n"
    "               the error it has, and whether the claim held; then how often its claims\n"
    "               held over all the rows of its table. A claim holds where |error| <=\n"
    "               claim + the reference's uncertainty + the rounding the estimate carries\n"
    "               (4 ulps of it, or eps sqrt(N) of it for a sum of N values of f where\n"
    "               that is more); no claim is below that rounding. Each statistical method\n"
    "               draws from a stream of its own, derived from --seed (1 unless given).\n"
    "               JSON:\n"
    "@COMPARE@\n"
    "  --sweep      the race at every budget of 10, 20, 50, 100, 200, 500, ..., 1000000: each\n"
    "               method's claimed and true error against the evaluations it cost. Text\n"
    "               and tsv: the race's columns after a budget column; JSON:\n"
    "@SWEEP@\n"
    "  --n N        instead of the table, the method as a rule at size N: the line\n"
    "               \"N   estimate\", its own error estimate and the evaluations it cost,\n"
    "               that estimate's included. The sizes:\n"
    "@SIZES@"
    "               JSON:\n"
    "@SIZED@\n"
    "  --seed S     the statistical methods' numbers: a stream of their own for each seed\n"
    "               (0 to 2^64 - 1) and method, the same rows for the same seed; without it a\n"
    "               table takes the sequence the window starts with\n"
    "  --points N   instead of the table, the evaluations of the row for N (its own count:\n"
    "               --points 6 for the parabolic rule's row of 6 panels, --points 2000 for\n"
    "               the first Monte Carlo row): x, f(x) and the weight the value enters the\n"
    "               estimate with (columns x, fx, weight), or for montecarlo the sample's\n"
    "               height and whether it hit (columns x, y, fx, hit)\n"
    "Numbers are written whole, with a point: 1, -0.5, 2.5e-3. A number beyond the double\n"
    "range (1e309) is refused; one too small for a double (1e-400) reads as 0, as in the window.\n"
    "Exit status: 0 done, 1 run-time error (the rows made before it are printed), 2 usage\n"
    "error, 3 the output could not be written, 4 out of memory.\n";

// The options' text with the typed functions' names and the JSON names in their places, each
// from its one list.
std::string withFunctions(std::string_view options) {
    std::string text(options);
    const auto fill = [&text](std::string_view mark, const std::string& with) {
        if (const std::size_t at = text.find(mark); at != std::string::npos) {
            text.replace(at, mark.size(), with);
        }
    };
    fill("@FUNCTIONS@", typedFunctionList(" ", " "));
    fill("@COMPARE@\n", wrapped(jsonKeysText(kRaceKeys), 17));
    fill("@SWEEP@\n", wrapped(jsonKeysText(kSweepKeys), 17));
    fill("@SIZED@\n", wrapped(jsonKeysText(kSizedKeys), 17));
    std::string sizes;
    for (const MethodInfo& info : kMethods) {
        sizes += wrapped(std::string(info.name) + ": " + sizesText(info.method), 17);
    }
    fill("@SIZES@", sizes);
    fill("@JSON@",
         wrapped(jsonKeysText(kRunKeys) + "; with --points: " + jsonKeysText(kPointsKeys) +
                     ", the points [{x, fx, weight} or {x, y, fx, hit}]",
                 17));
    return text;
}

// The lines on the methods, from the method table.
std::string methodUsage() {
    std::string text = "  --method     one of\n";
    for (const MethodInfo& info : kMethods) {
        std::string name(info.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 18), ' ');
        text += "                 " + name + std::string(info.description) + "\n";
    }
    return text;
}

std::string usage() {
    return "Usage: integral-table --method NAME [--integrand 1-5 | --function EXPR]\n"
           "                      [--lower A] [--upper B] [--ymax Y]\n"
           "                      [--details] [--format text|tsv|json] [--points N | --n N]\n"
           "                      [--seed S]\n"
           "       integral-table --compare [--budget N] [--methods NAME,NAME,...] [--seed S]\n"
           "       integral-table --sweep [--methods NAME,NAME,...] [--seed S]\n"
           "                      [the same integrand, limits, box and format]\n"
           "       integral-table -h|--help|--version\n"
           "\n"
           "Prints the rows the chosen method shows, one per line, then the summary \"S = "
           "...\".\n" +
           methodUsage() + withFunctions(kOptions) + dimensionsUsage();
}

constexpr int kRunTimeError = 1;
constexpr int kUsageError = 2;
constexpr int kWriteFailed = 3;
constexpr int kOutOfMemory = 4;
constexpr std::string_view kOutOfMemoryMessage = "integral-table: out of memory\n";

// The method and the model as the options leave it, as if a user had done the same in the
// window.
struct Request {
    Method method = Method::Zelbrin;
    Model model;
    Layout layout = Layout::Text;
    bool details = false;
    std::optional<std::size_t> pointsOfRow;  // --points: the row whose evaluations are wanted
    // --compare: the race of these methods at this budget of evaluations; --sweep: at every
    // budget of kSweepBudgets.
    bool compare = false;
    bool sweep = false;
    std::int64_t budget = 1000;
    std::vector<Method> methods;
    // --seed: the statistical methods draw from the stream of this seed for their method.
    std::optional<std::uint64_t> seed;
    // --n: the method as a rule at this size, instead of its table.
    std::optional<std::int64_t> size;
};

class UsageError {
  public:
    explicit UsageError(std::string message) : message_(std::move(message)) {}
    const std::string& message() const { return message_; }

  private:
    std::string message_;
};

Method parseMethod(std::string_view text) {
    if (const std::optional<Method> method = methodNamed(text)) {
        return *method;
    }
    throw UsageError("unknown method " + quotedArgument(text) + " (expected " + methodNames() +
                     ")");
}

// "zelbrin,gauss,sobol": each at most once.
std::vector<Method> parseMethods(std::string_view text) {
    std::vector<Method> methods;
    std::size_t start = 0;
    while (start <= text.size()) {
        const std::size_t comma = std::min(text.find(',', start), text.size());
        // "gauss, sobol" as well as "gauss,sobol".
        std::string_view name = text.substr(start, comma - start);
        while (!name.empty() && name.front() == ' ') {
            name.remove_prefix(1);
        }
        while (!name.empty() && name.back() == ' ') {
            name.remove_suffix(1);
        }
        const Method method = parseMethod(name);
        if (std::find(methods.begin(), methods.end(), method) != methods.end()) {
            throw UsageError("--methods names " + std::string(methodInfo(method).name) + " twice");
        }
        methods.push_back(method);
        start = comma + 1;
    }
    return methods;
}

// A seed: a whole number from 0 to 2^64 - 1.
std::uint64_t parseSeed(std::string_view text) {
    std::uint64_t seed = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), seed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
        throw UsageError("--seed must be a whole number from 0 to 18446744073709551615, not " +
                         quotedArgument(text));
    }
    return seed;
}

// A size the method runs at, one of its sizes.
std::int64_t parseSize(Method method, std::string_view text) {
    const std::optional<MethodSizes> sizes = methodOf(method).sizes();
    std::int64_t n = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), n);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !sizes ||
        !sizes->has(n)) {
        throw UsageError("--n for " + std::string(methodInfo(method).name) +
                         " must be one of its sizes, " + sizesText(method) + ", not " +
                         quotedArgument(text));
    }
    return n;
}

// A whole number of evaluations, 10 to 10^6.
std::int64_t parseBudget(std::string_view text) {
    // Written as a number is elsewhere, 1e4 too, but whole.
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    const auto budget = static_cast<std::int64_t>(value >= 10.0 && value <= 1e6 ? value : 0.0);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        static_cast<double>(budget) != value) {
        throw UsageError("--budget must be a whole number of evaluations from 10 to 1000000, not " +
                         quotedArgument(text));
    }
    return budget;
}

double parseNumber(std::string_view option, std::string_view text) {
    const CompleteNumber number = readCompleteNumber(text);
    switch (number.status) {
        case CompleteNumber::Status::Number:
            break;
        case CompleteNumber::Status::NotANumber:
            throw UsageError(std::string(option) + " needs a number, and " + quotedArgument(text) +
                             " is not a number");
        case CompleteNumber::Status::BeyondRange:
            throw UsageError(std::string(option) + " needs a number, and " + quotedArgument(text) +
                             " is beyond the double range");
    }
    return number.value;
}

Layout parseLayout(std::string_view text) {
    if (text == "text") {
        return Layout::Text;
    }
    if (text == "tsv") {
        return Layout::Tsv;
    }
    if (text == "json") {
        return Layout::Json;
    }
    throw UsageError("unknown format " + quotedArgument(text) + " (expected text, tsv or json)");
}

// A row's own count, as its counter column shows it.
std::size_t parseRowCount(Method method, std::string_view text) {
    std::int64_t count = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    const std::optional<int> row = error == std::errc() && end == text.data() + text.size()
                                       ? rowOfCounter(method, count)
                                       : std::nullopt;
    if (!row) {
        const MethodInfo& info = methodInfo(method);
        throw UsageError("--points must be the count of a row of " + std::string(info.name) + ": " +
                         std::to_string(rowCounter(method, 0)) + ", " +
                         std::to_string(rowCounter(method, 1)) + ", ..., " +
                         std::to_string(rowCounter(method, info.rows - 1)) + " " +
                         std::string(info.unit) + ", not " + quotedArgument(text));
    }
    return static_cast<std::size_t>(*row);
}

Request parseRequest(std::span<const std::string_view> args) {
    std::map<std::string, std::string_view> values;
    bool details = false;
    bool compare = false;
    bool sweep = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "--details") {
            details = true;
            continue;
        }
        if (arg == "--compare") {
            compare = true;
            continue;
        }
        if (arg == "--sweep") {
            sweep = true;
            continue;
        }
        std::string name(arg);
        std::optional<std::string_view> value;
        if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
            name = std::string(arg.substr(0, equals));
            value = arg.substr(equals + 1);
        }
        if (name != "--method" && name != "--integrand" && name != "--lower" && name != "--upper" &&
            name != "--ymax" && name != "--format" && name != "--points" && name != "--function" &&
            name != "--budget" && name != "--methods" && name != "--seed" && name != "--n") {
            throw UsageError("unknown option " + quotedArgument(arg));
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw UsageError(name + " needs a value");
            }
            value = args[++i];
        }
        if (!values.emplace(name, *value).second) {
            throw UsageError(name + " is given more than once");
        }
    }

    Request request;
    request.sweep = sweep;
    if (sweep && (compare || values.contains("--budget"))) {
        throw UsageError(
            "--sweep races at every budget from 10 to 1000000; not with --compare "
            "or --budget");
    }
    compare = compare || sweep;
    request.compare = compare;
    if (compare) {
        if (values.contains("--method") || values.contains("--points")) {
            throw UsageError(
                "--compare runs the methods of --methods; --method and --points are "
                "for one method's table");
        }
        if (values.contains("--budget")) {
            request.budget = parseBudget(values["--budget"]);
        }
        request.methods =
            values.contains("--methods") ? parseMethods(values["--methods"]) : allMethods();
    } else {
        if (values.contains("--budget") || values.contains("--methods")) {
            throw UsageError("--budget and --methods go with --compare");
        }
        if (!values.contains("--method")) {
            throw UsageError("--method is required");
        }
        request.method = parseMethod(values["--method"]);
    }
    request.details = details;
    if (values.contains("--seed")) {
        request.seed = parseSeed(values["--seed"]);
    }
    if (values.contains("--format")) {
        request.layout = parseLayout(values["--format"]);
    }
    if (values.contains("--points")) {
        request.pointsOfRow = parseRowCount(request.method, values["--points"]);
    }
    if (values.contains("--n")) {
        if (compare || values.contains("--points")) {
            throw UsageError("--n runs one method at one size; not with --compare or --points");
        }
        request.size = parseSize(request.method, values["--n"]);
    }
    if (values.contains("--integrand") && values.contains("--function")) {
        throw UsageError("--integrand and --function cannot both be given");
    }
    if (values.contains("--function")) {
        const std::string_view text = values["--function"];
        auto parsed = TypedExpression::parse(text);
        if (const auto* problem = std::get_if<ExpressionProblem>(&parsed)) {
            throw UsageError("--function " + quotedArgument(text) + ", column " +
                             std::to_string(problem->column) + ": " + problem->message);
        }
        request.model.chooseExpression(
            std::get<std::shared_ptr<const TypedExpression>>(std::move(parsed)));
    }
    if (values.contains("--integrand")) {
        const std::string_view text = values["--integrand"];
        if (text.size() != 1 || text[0] < '1' || text[0] > '5') {
            throw UsageError("--integrand must be 1, 2, 3, 4 or 5, not " + quotedArgument(text));
        }
        request.model.chooseIntegrand(text[0] - '1');
    }
    if (values.contains("--lower")) {
        request.model.setLower(Variant::real(parseNumber("--lower", values["--lower"])));
    }
    // As Enter in the upper box does, with or without an upper limit.
    request.model.setUpper(values.contains("--upper")
                               ? Variant::real(parseNumber("--upper", values["--upper"]))
                               : Variant());
    if (values.contains("--ymax")) {
        const double ymax = parseNumber("--ymax", values["--ymax"]);
        try {
            request.model.setHeight(Variant::real(ymax).toSingle());
        } catch (const RuntimeError&) {
            throw UsageError("--ymax is beyond the single-precision range");
        }
    }
    return request;
}

// The status of a run that stopped on `fault`, or completed; the fault told on `err`.
int reportFault(const Outcome& fault, std::ostream& err) {
    if (fault == Fault::OutOfMemory) {
        err << kOutOfMemoryMessage;
        return kOutOfMemory;
    }
    if (fault) {
        // The window's message for the same fault, its first line marked as the tool's.
        err << "integral-table: run-time error: " << faultText(*fault) << "\n";
        return kRunTimeError;
    }
    return 0;
}

int runTable(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    const auto given = [&args](std::string_view option) {
        return std::find(args.begin(), args.end(), option) != args.end();
    };
    if (given("-h") || given("--help")) {
        out << usage();
        return 0;
    }
    if (given("--version")) {
        out << "integral-table " << kVersion << "\n"
            << "License GPL-3.0-or-later: this is free software; you are free to change and\n"
               "redistribute it. There is NO WARRANTY, to the extent permitted by law.\n";
        return 0;
    }
    if (given("--dimensions") || std::any_of(args.begin(), args.end(), [](std::string_view arg) {
            return arg.starts_with("--dimensions=");
        })) {
        return runDimensions(args, out, err);
    }
    Request request;
    try {
        request = parseRequest(args);
    } catch (const UsageError& error) {
        err << "integral-table: " << error.message() << "\n"
            << "Try 'integral-table --help'.\n";
        return kUsageError;
    }

    // What a missing input means, said once: the output is that of the window left so.
    if (!request.model.integrand().chosen()) {
        err << "integral-table: no --integrand or --function given: no integrand is chosen, so "
               "every value is 0, as in the window before a choice\n";
    }
    if (request.compare && request.details) {
        err << "integral-table: --details adds nothing to a race: its lines hold every figure "
               "already (--format json names them)\n";
    }
    if (request.sweep) {
        writeSweep(out,
                   sweep(request.model, kSweepBudgets, request.methods, {},
                         request.seed.value_or(kDefaultSeed)),
                   request.layout);
        return 0;
    }
    if (request.compare) {
        writeRace(out,
                  race(request.model, request.budget, request.methods, {},
                       request.seed.value_or(kDefaultSeed)),
                  request.layout);
        return 0;
    }
    if (request.seed) {
        request.model.useGenerator(
            RandomGenerator::seeded(*request.seed, static_cast<std::uint32_t>(request.method)));
    }
    if (methodOf(request.method).samplesABox() && request.model.ymax().isEmpty()) {
        err << "integral-table: no --ymax given: the Monte Carlo box has height 0, so every "
               "estimate is 0, as in the window before a click on the canvas\n";
    }
    if (request.size) {
        const Model::SizedRun sized = request.model.runAt(request.method, *request.size);
        writeSized(out, request.model, request.method, sized, request.layout);
        return reportFault(sized.fault, err);
    }
    const MethodRun run = request.model.run(request.method);
    if (request.pointsOfRow) {
        // The row exists only if the run got that far; a fault before it is reported below.
        if (*request.pointsOfRow < run.rows.size() || request.layout == Layout::Json) {
            writePoints(out, run, *request.pointsOfRow, request.layout);
        }
    } else {
        writeRun(out, run, request.layout, request.details);
    }
    return reportFault(run.fault, err);
}

}  // namespace

int runTableCommand(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    try {
        errno = 0;
        const int status = runTable(args, out, err);
        out.flush();
        if (!out) {
            // The output's own record of why, where it keeps one; errno otherwise.
            const auto* reporting = dynamic_cast<const ReportsWriteError*>(out.rdbuf());
            const int cause = reporting != nullptr ? reporting->writeError() : errno;
            err << "integral-table: cannot write the output"
                << (cause != 0 ? std::string(": ") + std::strerror(cause) : std::string()) << "\n";
            return kWriteFailed;
        }
        return status;
    } catch (const std::bad_alloc&) {
        // Nothing that allocates: there may be no memory left for it.
        err.write(kOutOfMemoryMessage.data(),
                  static_cast<std::streamsize>(kOutOfMemoryMessage.size()));
        return kOutOfMemory;
    }
}

}  // namespace integral
