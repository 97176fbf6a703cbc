// SPDX-License-Identifier: GPL-3.0-or-later
#include "dimensions_command.h"

#include <charconv>
#include <cmath>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <optional>
#include <variant>
#include <vector>

#include "cubature/cubature_race.h"
#include "cubature/genz_families.h"
#include "cubature/typed_cube_function.h"
#include "model/fault_text.h"
#include "model/many_dimensions.h"
#include "model/methods.h"
#include "model/race.h"
#include "model/run_analysis.h"
#include "runtime/escaped_bytes.h"
#include "runtime/text_to_number.h"
#include "table_output.h"

namespace integral {

namespace {

using Json = nlohmann::ordered_json;

constexpr int kRunTimeError = 1;
constexpr int kUsageError = 2;
constexpr int kOutOfMemory = 4;
constexpr std::int64_t kDefaultBudget = 100000;
constexpr std::int64_t kLargestBudget = 100'000'000;

struct UsageError {
    std::string message;
};

struct Request {
    int dimensions = 0;
    std::optional<GenzParameters> family;
    std::string function;
    std::shared_ptr<const TypedExpression> expression;
    double lower = 0.0;
    double upper = 1.0;
    std::optional<CubatureMethod> method;
    // At d = 1: a method of one dimension whose table is wanted instead, and f as those methods
    // take it, for that table or for their race beside the cube's; the box of their hit-or-miss.
    std::optional<Method> oneDimensionalMethod;
    std::optional<OneDimensionalIntegrand> oneDimension;
    std::optional<float> ymax;
    bool compare = false;
    bool sweep = false;
    std::int64_t budget = kDefaultBudget;
    std::uint64_t seed = kDefaultSeed;
    Layout layout = Layout::Text;
};

std::int64_t parseWhole(std::string_view option, std::string_view text, std::int64_t least,
                        std::int64_t most) {
    // 1e5 as well as 100000, but whole.
    double value = 0.0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        !(value >= static_cast<double>(least) && value <= static_cast<double>(most)) ||
        value != std::floor(value)) {
        throw UsageError{std::string(option) + " must be a whole number from " +
                         std::to_string(least) + " to " + std::to_string(most) + ", not " +
                         quotedArgument(text)};
    }
    return static_cast<std::int64_t>(value);
}

double parseNumber(std::string_view option, std::string_view text) {
    const CompleteNumber number = readCompleteNumber(text);
    if (number.status != CompleteNumber::Status::Number) {
        throw UsageError{std::string(option) + " needs a number within the double range, not " +
                         quotedArgument(text)};
    }
    return number.value;
}

Request parseRequest(std::span<const std::string_view> args) {
    std::map<std::string, std::string_view> values;
    Request request;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--compare" || arg == "--sweep") {
            (arg == "--compare" ? request.compare : request.sweep) = true;
            continue;
        }
        std::string name(arg);
        std::optional<std::string_view> value;
        if (const std::size_t equals = arg.find('='); equals != std::string_view::npos) {
            name = std::string(arg.substr(0, equals));
            value = arg.substr(equals + 1);
        }
        static constexpr std::string_view kTaking[] = {
            "--dimensions", "--family", "--difficulty", "--seed",   "--function", "--lower",
            "--upper",      "--method", "--budget",     "--format", "--ymax"};
        if (std::find(std::begin(kTaking), std::end(kTaking), name) == std::end(kTaking)) {
            throw UsageError{"unknown option with --dimensions " + quotedArgument(arg)};
        }
        if (!value) {
            if (i + 1 >= args.size()) {
                throw UsageError{name + " needs a value"};
            }
            value = args[++i];
        }
        if (!values.emplace(name, *value).second) {
            throw UsageError{name + " is given more than once"};
        }
    }
    request.dimensions =
        static_cast<int>(parseWhole("--dimensions", values["--dimensions"], 1, kMaxDimensions));
    const int d = request.dimensions;
    if (values.contains("--seed")) {
        const std::string_view text = values["--seed"];
        const auto [end, error] =
            std::from_chars(text.data(), text.data() + text.size(), request.seed);
        if (text.empty() || error != std::errc() || end != text.data() + text.size()) {
            throw UsageError{"--seed must be a whole number from 0 to 18446744073709551615, not " +
                             quotedArgument(text)};
        }
    }
    if (values.contains("--format")) {
        const std::string_view text = values["--format"];
        if (text == "text" || text == "tsv" || text == "json") {
            request.layout = text == "text"  ? Layout::Text
                             : text == "tsv" ? Layout::Tsv
                                             : Layout::Json;
        } else {
            throw UsageError{"unknown format " + quotedArgument(text) +
                             " (expected text, tsv or json)"};
        }
    }
    const bool family = values.contains("--family");
    if (family == values.contains("--function")) {
        throw UsageError{"--dimensions needs either --family NAME or --function EXPR"};
    }
    if (family) {
        if (values.contains("--lower") || values.contains("--upper")) {
            throw UsageError{
                "a family has its own cube ([0,1]^d, [-1,1]^d for the ball): "
                "--lower and --upper go with --function"};
        }
        const std::optional<Family> named = familyNamed(values["--family"]);
        if (!named) {
            throw UsageError{"unknown family " + quotedArgument(values["--family"]) +
                             " (expected " + familyNames() + ")"};
        }
        double difficulty = familyInfo(*named).difficulty;
        if (values.contains("--difficulty")) {
            if (*named == Family::Ball) {
                throw UsageError{"the ball has no difficulty"};
            }
            difficulty = parseNumber("--difficulty", values["--difficulty"]);
            if (!(difficulty > 0.0 && difficulty <= 1000.0)) {
                throw UsageError{
                    "--difficulty (the sum of the c_k) must be above 0 and at most "
                    "1000, not " +
                    quotedArgument(values["--difficulty"])};
            }
        }
        request.family = drawParameters(*named, d, difficulty, request.seed);
    } else {
        if (values.contains("--difficulty")) {
            throw UsageError{"--difficulty goes with --family"};
        }
        if (!values.contains("--lower") || !values.contains("--upper")) {
            throw UsageError{
                "--function needs --lower A and --upper B: f is integrated on "
                "[A,B]^d"};
        }
        request.lower = parseNumber("--lower", values["--lower"]);
        request.upper = parseNumber("--upper", values["--upper"]);
        if (!(request.lower < request.upper) ||
            !std::isfinite(std::pow(request.upper - request.lower, d))) {
            throw UsageError{
                "--lower must be below --upper, and (B - A)^d within the double "
                "range"};
        }
        request.function = std::string(values["--function"]);
        auto parsed = TypedExpression::parse(request.function, d);
        if (const auto* problem = std::get_if<ExpressionProblem>(&parsed)) {
            throw UsageError{"--function " + quotedArgument(request.function) + ", column " +
                             std::to_string(problem->column) + ": " + problem->message};
        }
        request.expression = std::get<std::shared_ptr<const TypedExpression>>(std::move(parsed));
    }
    const int modes =
        (values.contains("--method") ? 1 : 0) + (request.compare ? 1 : 0) + (request.sweep ? 1 : 0);
    if (modes != 1) {
        throw UsageError{"--dimensions needs one of --method NAME, --compare or --sweep"};
    }
    if (values.contains("--method")) {
        request.method = cubatureMethodNamed(values["--method"]);
        // A name both lists know (sobol) stays the cube's.
        if (!request.method && d == 1) {
            request.oneDimensionalMethod = methodNamed(values["--method"]);
            if (!request.oneDimensionalMethod) {
                throw UsageError{"unknown method " + quotedArgument(values["--method"]) +
                                 " (expected one of d dimensions, " + cubatureMethodNames() +
                                 ", or at d = 1 one of one dimension, " + methodNames() + ")"};
            }
        } else if (!request.method) {
            throw UsageError{"unknown method in d dimensions " +
                             quotedArgument(values["--method"]) + " (expected " +
                             cubatureMethodNames() + ")"};
        }
        if (request.method && cubatureMethodInfo(*request.method).indicatorsOnly &&
            !(request.family && request.family->family == Family::Ball)) {
            throw UsageError{
                "hit-or-miss counts hits, so it integrates only the ball "
                "(--family ball)"};
        }
    }
    if (values.contains("--budget")) {
        if (request.oneDimensionalMethod) {
            throw UsageError{
                "--budget goes with the methods of d dimensions, --compare or --sweep: " +
                std::string(methodInfo(*request.oneDimensionalMethod).name) +
                "'s table has rows of its own"};
        }
        request.budget = parseWhole("--budget", values["--budget"], 1, kLargestBudget);
    }
    const bool oneDimension = d == 1 && !request.method;
    if (values.contains("--ymax")) {
        if (!oneDimension) {
            throw UsageError{
                "--ymax is the box of hit-or-miss in one dimension: it goes with --dimensions 1 "
                "and --compare, --sweep or a method of one dimension"};
        }
        const double ymax = parseNumber("--ymax", values["--ymax"]);
        if (!(ymax >= 0.0 && ymax <= std::numeric_limits<float>::max())) {
            throw UsageError{
                "--ymax must be at least 0 and within the single-precision range, not " +
                quotedArgument(values["--ymax"])};
        }
        request.ymax = static_cast<float>(ymax);
    }
    if (oneDimension) {
        if (request.family) {
            request.oneDimension = oneDimensionalFamily(*request.family);
        } else {
            request.oneDimension =
                oneDimensionalFunction(request.function, request.lower, request.upper);
            if (!request.oneDimension) {
                throw UsageError{"--function " + quotedArgument(request.function) +
                                 " does not read as an expression of x1 alone"};
            }
        }
    }
    return request;
}

std::optional<double> finite(double value) {
    return std::isfinite(value) ? std::optional(value) : std::nullopt;
}

Json number(std::optional<double> value) {
    return value && std::isfinite(*value) ? Json(*value) : Json(nullptr);
}

template <typename T>
Json maybe(const std::optional<T>& value) {
    return value ? Json(*value) : Json(nullptr);
}

// Digits from the library's shortest round trip: the same double reads back.
std::string text(std::optional<double> value) {
    if (!value || !std::isfinite(*value)) {
        return "-";
    }
    char buffer[40];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, *value).ptr;
    return std::string(buffer, end);
}

template <typename T>
std::string text(const std::optional<T>& value) {
    return value ? std::to_string(*value) : "-";
}

struct Judged {
    std::optional<double> truth;  // the exact value, or the reference
};

Json rowJson(const CubatureRow& row, std::optional<double> truth) {
    return Json{{"n", row.n},
                {"level", maybe(row.level)},
                {"points_per_axis", maybe(row.pointsPerAxis)},
                {"evaluations", row.evaluations},
                {"estimate", number(row.estimate)},
                {"error", number(truth ? std::optional(row.estimate - *truth) : std::nullopt)},
                {"estimated_error", number(row.estimatedError)},
                {"sigma", number(row.sigma)}};
}

constexpr std::string_view kColumns[] = {"n",        "level", "points_per_axis", "evaluations",
                                         "estimate", "error", "estimated_error", "sigma"};

std::vector<std::string> rowCells(const CubatureRow& row, std::optional<double> truth) {
    return {std::to_string(row.n),      text(row.level),
            text(row.pointsPerAxis),    std::to_string(row.evaluations),
            text(finite(row.estimate)), text(truth ? finite(row.estimate - *truth) : std::nullopt),
            text(row.estimatedError),   text(row.sigma)};
}

void writeCells(std::ostream& out, const std::vector<std::string>& cells, Layout layout) {
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (i > 0) {
            out << (layout == Layout::Tsv ? "\t" : "  ");
        }
        out << cells[i];
    }
    out << "\n";
}

// "# d = 3, gaussian on [0,1]^d, seed 1, difficulty 7.03": the inputs, in text.
void writeInputsLine(std::ostream& out, const Request& request, double lower, double upper) {
    out << "# d = " << request.dimensions << ", ";
    if (request.family) {
        out << familyInfo(request.family->family).name << " on [" << text(std::optional(lower))
            << "," << text(std::optional(upper)) << "]^d, seed " << request.seed;
        if (request.family->family != Family::Ball) {
            out << ", difficulty " << text(std::optional(request.family->difficulty));
        }
    } else {
        out << "f = " << request.function << " on [" << text(std::optional(lower)) << ","
            << text(std::optional(upper)) << "]^d, seed " << request.seed;
    }
    out << "\n";
}

// What the methods of one dimension are measured against, in text: a family's closed form, the
// reference they make for a typed f, or why there is none.
void writeTruthOfOne(std::ostream& out, const std::optional<ReferenceValue>& reference,
                     const std::string& whyNone) {
    if (!reference) {
        out << "# no reference: " << (whyNone.empty() ? "there is none" : whyNone) << "\n";
    } else if (reference->closedForm) {
        out << "# exact " << text(std::optional(reference->value)) << "\n";
    } else {
        out << "# reference " << text(std::optional(reference->value)) << " +- "
            << text(std::optional(reference->uncertainty)) << "\n";
    }
}

// The methods of one dimension on the cube's f at d = 1, on the same interval.
Model oneDimensionalModel(const Request& request) {
    Model model;
    model.choose(request.oneDimension->integrand);
    model.setLower(Variant::real(request.oneDimension->lower));
    model.setUpper(Variant::real(request.oneDimension->upper));
    if (request.ymax) {
        model.setHeight(*request.ymax);
    }
    return model;
}

// At d = 1, a method of one dimension's own table on the same f, as `--method NAME` writes it
// for a typed f, after the inputs in text; the rows made before a fault stay printed, as there.
int runOneDimensionalTable(const Request& request, std::ostream& out, std::ostream& err) {
    Model model = oneDimensionalModel(request);
    const Method method = *request.oneDimensionalMethod;
    // The stream the race of one dimension draws from for this method and seed.
    model.useGenerator(RandomGenerator::seeded(request.seed, static_cast<std::uint32_t>(method)));
    if (methodOf(method).samplesABox() && !request.ymax) {
        err << "integral-table: no --ymax given: the Monte Carlo box has height 0, so every "
               "estimate is 0\n";
    }
    const MethodRun run = model.run(method);
    if (request.layout == Layout::Text) {
        writeInputsLine(out, request, request.oneDimension->lower, request.oneDimension->upper);
        out << "# the one-dimensional method " << methodInfo(method).name << " on the same f\n";
        const RunAnalysis analysis = analyse(run, false);
        writeTruthOfOne(
            out, analysis.reference,
            analysis.divergence ? divergenceText(*analysis.divergence) : analysis.whyNoReference);
    }
    writeRun(out, run, request.layout, false);
    if (run.fault) {
        if (*run.fault == Fault::OutOfMemory) {
            err << "integral-table: out of memory\n";
            return kOutOfMemory;
        }
        err << "integral-table: run-time error: " << faultText(*run.fault) << "\n";
        return kRunTimeError;
    }
    return 0;
}

int run(const Request& request, std::ostream& out, std::ostream& err) {
    if (request.oneDimensionalMethod) {
        return runOneDimensionalTable(request, out, err);
    }
    std::unique_ptr<CubeFunction> owned;
    if (request.family) {
        owned = familyFunction(*request.family);
    } else {
        owned =
            std::make_unique<TypedCubeFunction>(request.expression, request.lower, request.upper);
    }
    const CubeFunction& f = *owned;
    std::optional<double> exact;
    std::optional<CubeReference> reference;
    if (request.family) {
        exact = exactIntegral(*request.family);
    } else {
        reference = cubeReference(f);
    }
    const std::optional<double> truth = exact ? exact : reference ? reference->value : std::nullopt;

    // Everything is computed before anything is written: a fault leaves stdout empty.
    std::vector<std::pair<CubatureMethod, CubatureRow>> rows;
    std::vector<CubatureEntry> entries;
    try {
        if (request.method) {
            for (const std::int64_t n :
                 cubatureRows(*request.method, f.dimensions(), request.budget)) {
                rows.emplace_back(*request.method,
                                  runCubature(*request.method, f, n, request.seed));
            }
        } else if (request.sweep) {
            for (const CubatureSweep& sweep : sweepCubature(f, request.budget, request.seed)) {
                for (const CubatureRow& row : sweep.rows) {
                    rows.emplace_back(sweep.method, row);
                }
            }
        } else {
            entries = raceCubature(f, request.budget, request.seed);
        }
    } catch (const CubeFault& fault) {
        err << "integral-table: run-time error: " << fault.what() << "\n";
        return kRunTimeError;
    }
    // At d = 1 the methods of one dimension race on the same f beside them.
    std::optional<Race> raceOfOne;
    std::optional<Sweep> sweepOfOne;
    if (request.oneDimension) {
        const Model model = oneDimensionalModel(request);
        if (request.compare) {
            raceOfOne = race(model, request.budget, allMethods(), {}, request.seed);
        } else {
            std::vector<std::int64_t> budgets;
            for (const std::int64_t budget : kSweepBudgets) {
                if (budget <= request.budget) {
                    budgets.push_back(budget);
                }
            }
            // Below the first budget of the sweep, the race at the budget given: no row fits.
            if (budgets.empty()) {
                budgets.push_back(request.budget);
            }
            sweepOfOne = sweep(model, budgets, allMethods(), {}, request.seed);
        }
    }
    const Race* truthOfOne = raceOfOne    ? &*raceOfOne
                             : sweepOfOne ? &sweepOfOne->races.front()
                                          : nullptr;

    const bool perMethod = !request.method;
    if (request.layout == Layout::Json) {
        Json inputs{{"dimensions", request.dimensions},
                    {"family", request.family ? Json(familyInfo(request.family->family).name)
                                              : Json(nullptr)},
                    {"c", request.family ? Json(request.family->c) : Json(nullptr)},
                    {"w", request.family ? Json(request.family->w) : Json(nullptr)},
                    {"seed", request.seed},
                    {"difficulty", request.family && request.family->family != Family::Ball
                                       ? Json(request.family->difficulty)
                                       : Json(nullptr)},
                    {"function", request.family ? Json(nullptr) : Json(request.function)},
                    {"lower", f.lower()},
                    {"upper", f.upper()},
                    {"method", request.method ? Json(cubatureMethodInfo(*request.method).name)
                                              : Json(nullptr)}};
        Json document{
            {"inputs", inputs},
            {"exact", number(exact)},
            {"reference", number(reference ? reference->value : std::nullopt)},
            {"reference_error", number(reference ? reference->uncertainty : std::nullopt)}};
        if (reference && reference->absent) {
            document["no_reference"] = noReferenceText(*reference->absent);
        }
        Json rowList = Json::array();
        for (const auto& [method, row] : rows) {
            Json item = rowJson(row, truth);
            if (perMethod) {
                item["method"] = cubatureMethodInfo(method).name;
            }
            rowList.push_back(item);
        }
        document["rows"] = request.compare ? Json(nullptr) : rowList;
        if (request.compare) {
            Json compare = Json::array();
            for (const CubatureEntry& entry : entries) {
                Json item = Json::object();
                if (entry.row) {
                    item = rowJson(*entry.row, truth);
                } else {
                    // A method that did not run has every figure, each null.
                    for (const std::string_view column : kColumns) {
                        item[std::string(column)] = nullptr;
                    }
                }
                item["method"] = cubatureMethodInfo(entry.method).name;
                item["absent"] = entry.row ? Json(nullptr) : Json(entry.absence);
                compare.push_back(item);
            }
            document["compare"] = compare;
        } else {
            document["compare"] = nullptr;
        }
        if (truthOfOne) {
            const std::optional<ReferenceValue>& one = truthOfOne->reference;
            document["reference_one_dimension"] =
                number(one ? std::optional(one->value) : std::nullopt);
            document["reference_error_one_dimension"] =
                number(one ? std::optional(one->uncertainty) : std::nullopt);
            document["no_reference_one_dimension"] = one || truthOfOne->whyNoReference.empty()
                                                         ? Json(nullptr)
                                                         : Json(truthOfOne->whyNoReference);
            if (raceOfOne) {
                document["compare_one_dimension"] = raceEntriesJson(*raceOfOne);
            } else {
                document["sweep_one_dimension"] = sweepRacesJson(*sweepOfOne);
            }
        }
        out << document.dump(2) << "\n";
        return 0;
    }

    if (request.layout == Layout::Text) {
        writeInputsLine(out, request, f.lower(), f.upper());
        if (exact) {
            out << "# exact " << text(exact) << "\n";
        } else if (reference->value) {
            out << "# reference " << text(reference->value) << " +- "
                << text(reference->uncertainty) << "\n";
        } else {
            out << "# no reference: " << noReferenceText(*reference->absent) << "\n";
        }
    }
    std::vector<std::string> header;
    if (perMethod) {
        header.emplace_back("method");
    }
    for (const std::string_view column : kColumns) {
        header.emplace_back(column);
    }
    writeCells(out, header, request.layout);
    for (const auto& [method, row] : rows) {
        std::vector<std::string> cells = rowCells(row, truth);
        if (perMethod) {
            cells.insert(cells.begin(), std::string(cubatureMethodInfo(method).name));
        }
        writeCells(out, cells, request.layout);
    }
    for (const CubatureEntry& entry : entries) {
        std::vector<std::string> cells;
        if (entry.row) {
            cells = rowCells(*entry.row, truth);
        } else {
            cells.assign(std::size(kColumns), "-");
        }
        cells.insert(cells.begin(), std::string(cubatureMethodInfo(entry.method).name));
        writeCells(out, cells, request.layout);
    }
    if (request.layout == Layout::Text) {
        for (const CubatureEntry& entry : entries) {
            if (!entry.row) {
                out << "# " << cubatureMethodInfo(entry.method).name << " " << entry.absence
                    << "\n";
            }
        }
    }
    if (truthOfOne) {
        out << "# the one-dimensional methods on the same f\n";
        // Where there is none, the race's last lines say why.
        if (request.layout == Layout::Text && truthOfOne->reference) {
            writeTruthOfOne(out, truthOfOne->reference, truthOfOne->whyNoReference);
        }
        if (raceOfOne) {
            writeRace(out, *raceOfOne, request.layout);
        } else {
            writeSweep(out, *sweepOfOne, request.layout);
        }
    }
    return 0;
}

}  // namespace

std::string dimensionsUsage() {
    std::string text =
        "  --dimensions D   integrals over the d-dimensional cube, D = 1 to 20:\n"
        "       integral-table --dimensions D (--family NAME [--difficulty H] [--seed S]\n"
        "                      | --function EXPR --lower A --upper B)\n"
        "                      (--method NAME [--budget N] | --compare [--budget N] | --sweep\n"
        "                      [--budget N]) [--ymax Y] [--format text|tsv|json]\n"
        "               --family: Genz's test families on [0,1]^d, c and w drawn from --seed\n"
        "               (1 unless given), sum c_k = --difficulty (Genz's defaults), or the unit\n"
        "               ball on [-1,1]^d:\n";
    for (const FamilyInfo& info : kFamilies) {
        std::string name(info.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 15), ' ');
        text += "                 " + name + std::string(info.formula);
        if (info.difficulty > 0.0) {
            char buffer[24];
            const auto end = std::to_chars(buffer, buffer + sizeof buffer, info.difficulty).ptr;
            text += " (difficulty " + std::string(buffer, end) + ")";
        }
        text += "\n";
    }
    text +=
        "               --function: f(x1, ..., xd) on [A,B]^d, with a reference by adaptive\n"
        "               cubature and its uncertainty, or none and why.\n"
        "               --method, one of\n";
    for (const CubatureMethodInfo& info : kCubatureMethods) {
        std::string name(info.name);
        name.resize(std::max<std::size_t>(name.size() + 1, 19), ' ');
        text += "                 " + name + std::string(info.description) +
                " (size: " + std::string(info.sizeWord) + ")\n";
    }
    text +=
        "               --method: its rows up to --budget evaluations (100000 unless given);\n"
        "               --compare: each method at the largest size within --budget; --sweep:\n"
        "               every method's rows up to --budget. JSON: inputs {dimensions, family,\n"
        "               c, w, seed, difficulty, function, lower, upper, method}, exact,\n"
        "               reference, reference_error, rows [{n, level, points_per_axis,\n"
        "               evaluations, estimate, error, estimated_error, sigma}], compare [...]\n"
        "               (the same with method and absent); null where a field does not apply.\n";
    // Appended, not summed: GCC warns falsely (-Wrestrict) on a literal + std::string.
    std::string words =
        "At --dimensions 1 the methods of one dimension take the same f, as a function of x1 "
        "read as x: a family's on [0,1] ([-1,1] for the ball), measured against its closed "
        "form; a typed f's on [A,B], against the reference they make for a typed f. --compare "
        "adds their race at the same budget, --sweep their race at each budget of their sweep "
        "up to --budget, after the line \"# the one-dimensional methods on the same f\"; JSON: "
        "reference_one_dimension, reference_error_one_dimension, no_reference_one_dimension, "
        "and compare_one_dimension [...] as the entries of the one-dimensional --compare, or "
        "sweep_one_dimension [...] as the races of its --sweep. --method";
    const char* separator = " ";
    for (const MethodInfo& info : kMethods) {
        if (!cubatureMethodNamed(info.name)) {
            words += separator;
            words += info.name;
            separator = ", ";
        }
    }
    words +=
        ": that method's table on the same f, without --budget; sobol is the Sobol method of d "
        "dimensions, and the one of one dimension stands in the race. --ymax Y: the box of "
        "hit-or-miss in one dimension (height 0 unless given: nothing to sample).";
    text += wrapped(words, 15);
    return text;
}

int runDimensions(std::span<const std::string_view> args, std::ostream& out, std::ostream& err) {
    Request request;
    try {
        request = parseRequest(args);
    } catch (const UsageError& error) {
        err << "integral-table: " << error.message << "\n"
            << "Try 'integral-table --help'.\n";
        return kUsageError;
    }
    return run(request, out, err);
}

}  // namespace integral
