// SPDX-License-Identifier: GPL-3.0-or-later
#include "integrands/typed_expression.h"

#include <dlfcn.h>
#include <muParserDLL.h>
#include <muParserDef.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <new>
#include <numbers>

#include "runtime/escaped_bytes.h"

namespace integral {

namespace {

// The spellings of the five labels and of the language they come from, beside the library's
// own lower-case names.
struct Alias {
    const char* name;
    double (*function)(double);
};
const Alias kAliases[] = {
    {"Sin", std::sin},     {"Cos", std::cos},   {"Tan", std::tan},     {"Asin", std::asin},
    {"Acos", std::acos},   {"Atan", std::atan}, {"Atn", std::atan},    {"Sinh", std::sinh},
    {"Cosh", std::cosh},   {"Tanh", std::tanh}, {"Asinh", std::asinh}, {"Acosh", std::acosh},
    {"Atanh", std::atanh}, {"Exp", std::exp},   {"Ln", std::log},      {"Log", std::log},
    {"Log10", std::log10}, {"Sqrt", std::sqrt}, {"Sqr", std::sqrt},    {"Abs", std::fabs},
};

// The library's own functions of one argument that round, under the names it gives them: the
// copy of an expression that shows what rounding f's functions costs replaces each.
double log2Of(double a) {
    return std::log2(a);
}
const Alias kRounding[] = {
    {"sin", std::sin},   {"cos", std::cos},     {"tan", std::tan},     {"asin", std::asin},
    {"acos", std::acos}, {"atan", std::atan},   {"sinh", std::sinh},   {"cosh", std::cosh},
    {"tanh", std::tanh}, {"asinh", std::asinh}, {"acosh", std::acosh}, {"atanh", std::atanh},
    {"log2", log2Of},    {"log10", std::log10}, {"log", std::log},     {"ln", std::log},
    {"exp", std::exp},   {"sqrt", std::sqrt},
};

// Which way the copy moves the next function value by one rounding: all up, or up and down in
// turn, so that two values that cancel cannot both move the same way and hide it.
thread_local bool tAlternate = false;
thread_local unsigned tCalls = 0;

double nudge(double value) {
    // A value of 0 is exact, not rounded (sin(0), 0*x), and a step to the smallest subnormal
    // would pass for every digit of an f that is 0 lost to cancellation.
    if (value == 0.0) {
        return value;
    }
    const bool up = !tAlternate || (++tCalls & 1u) != 0;
    return std::nextafter(value, up ? INFINITY : -INFINITY);
}

double nudged(void* alias, double a) {
    return nudge(static_cast<const Alias*>(alias)->function(a));
}

// The operators that round and are never unary, under names of their own: the library will
// not take its own operators' names for new ones, so a second copy of the text spells each of
// these twice ("x^^2"), and those names are defined below with the precedence and the
// associativity of the originals.
struct NudgedOperator {
    char sign;
    const char* name;
    double (*function)(double, double);
    int precedence;     // the library's own: multiplication and division 6, power 7
    int associativity;  // muOPRT_ASCT_LEFT or muOPRT_ASCT_RIGHT
};
const NudgedOperator kNudgedOperators[] = {
    {'*', "**", [](double a, double b) { return nudge(a * b); }, 6, muOPRT_ASCT_LEFT},
    {'/', "//", [](double a, double b) { return nudge(a / b); }, 6, muOPRT_ASCT_LEFT},
    {'^', "^^", [](double a, double b) { return nudge(std::pow(a, b)); }, 7, muOPRT_ASCT_RIGHT},
};

// The bytes of the UTF-8 character that starts at `at`: 1 for a byte that starts none.
std::size_t sequenceLength(std::string_view text, std::size_t at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    const std::size_t length = lead < 0xC2   ? 1
                               : lead < 0xE0 ? 2
                               : lead < 0xF0 ? 3
                               : lead < 0xF5 ? 4
                                             : 1;
    if (length == 1 || at + length > text.size()) {
        return 1;
    }
    for (std::size_t i = 1; i < length; ++i) {
        if ((static_cast<unsigned char>(text[at + i]) & 0xC0) != 0x80) {
            return 1;
        }
    }
    return length;
}

char32_t codePoint(std::string_view sequence) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(sequence[i]); };
    char32_t c = byte(0) & (0x7F >> sequence.size());
    for (std::size_t i = 1; i < sequence.size(); ++i) {
        c = (c << 6) | (byte(i) & 0x3F);
    }
    return c;
}

// A character and where the column counts it: columns count characters, as a person does.
int columnAt(std::string_view text, std::size_t byte) {
    int column = 1;
    for (std::size_t at = 0; at < std::min(byte, text.size()); at += sequenceLength(text, at)) {
        ++column;
    }
    return column;
}

std::size_t characterCount(std::string_view text) {
    return static_cast<std::size_t>(columnAt(text, text.size()) - 1);
}

// Characters that show as nothing, as a blank, or turn the line's direction around.
bool invisible(char32_t c) {
    return c < 0x20 || (c >= 0x7F && c <= 0xA0) || c == 0xAD || c == 0x61C || c == 0x180E ||
           (c >= 0x2000 && c <= 0x200F) || (c >= 0x2028 && c <= 0x202F) ||
           (c >= 0x205F && c <= 0x206F) || c == 0x3000 || c == 0xFEFF ||
           (c >= 0xFFF9 && c <= 0xFFFB) || (c >= 0xE0000 && c <= 0xE007F);
}

// A piece of the text as a message may show it and a person see it: characters that show as
// themselves, those that show as nothing (or would turn the message around) by their code
// point, bytes that are no character as \xNN; at most 24 characters.
std::string shown(std::string_view text) {
    std::string result;
    std::size_t at = 0;
    for (int count = 0; at < text.size() && count < 24; ++count) {
        const std::size_t length = sequenceLength(text, at);
        const std::string_view piece = text.substr(at, length);
        if (length == 1) {
            result += escapedBytes(piece);
        } else if (const char32_t c = codePoint(piece); invisible(c)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            result += code;
        } else {
            result += piece;
        }
        at += length;
    }
    return at < text.size() ? result + "..." : result;
}

// What the library could not read at `at`: a name or number, or else one character.
std::string_view tokenAt(std::string_view body, std::size_t at) {
    if (at >= body.size()) {
        return {};
    }
    const auto word = [](char c) {
        return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_' || c == '.';
    };
    if (!word(body[at])) {
        return body.substr(at, sequenceLength(body, at));
    }
    std::size_t end = at;
    while (end < body.size() && word(body[end])) {
        ++end;
    }
    return body.substr(at, end - at);
}

// A number written at `at` that no double can hold, as 1e309.
std::optional<std::string_view> numberTooLarge(std::string_view body, std::size_t at) {
    if (at >= body.size()) {
        return std::nullopt;
    }
    double value = 0.0;
    const char* first = body.data() + at;
    const auto [end, error] = std::from_chars(first, body.data() + body.size(), value);
    if (error != std::errc::result_out_of_range) {
        return std::nullopt;
    }
    const std::string_view number(first, static_cast<std::size_t>(end - first));
    // Out of range below (1e-400) is no problem of size.
    const std::size_t exponent = number.find_first_of("eE");
    if (exponent != std::string_view::npos && exponent + 1 < number.size() &&
        number[exponent + 1] == '-') {
        return std::nullopt;
    }
    return number;
}

// The part after a leading "y =" or "f(x) =", and where it starts.
std::size_t rightHandSide(std::string_view text) {
    for (const std::string_view prefix : {"f(x)", "y"}) {
        std::size_t at = text.find_first_not_of(' ');
        if (at == std::string_view::npos || text.substr(at, prefix.size()) != prefix) {
            continue;
        }
        at = text.find_first_not_of(' ', at + prefix.size());
        if (at != std::string_view::npos && text[at] == '=' &&
            (at + 1 >= text.size() || text[at + 1] != '=')) {
            return at + 1;
        }
    }
    return 0;
}

// A lone "=" would assign to x; comparisons ("<=", ">=", "==", "!=") are fine.
std::optional<std::size_t> assignment(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '=') {
            continue;
        }
        const bool pairedBefore =
            i > 0 && std::string_view("<>!=").find(text[i - 1]) != std::string_view::npos;
        const bool pairedAfter = i + 1 < text.size() && text[i + 1] == '=';
        if (!pairedBefore && !pairedAfter) {
            return i;
        }
        if (pairedAfter) {
            ++i;
        }
    }
    return std::nullopt;
}

// "the only variable is x", or for d coordinates "the variables are x1 to xd".
std::string variablesText(int variables) {
    if (variables == 0) {
        return "the only variable is x";
    }
    if (variables == 1) {
        return "the only variable is x1";
    }
    return "the variables are x1 to x" + std::to_string(variables);
}

std::string messageOf(int code, std::string_view rawToken, int variables) {
    const std::string token = shown(rawToken);
    switch (code) {
        case mu::ecUNASSIGNABLE_TOKEN:
            return "\"" + token + "\" is not known: " + variablesText(variables) +
                   ", and the functions are " + typedFunctionList(", ", " and ");
        case mu::ecUNEXPECTED_EOF:
            return "the expression ends where something more is needed";
        case mu::ecMISSING_PARENS:
            return "a bracket is opened and not closed";
        case mu::ecUNEXPECTED_PARENS:
            return "a bracket stands where it cannot";
        case mu::ecTOO_MANY_PARAMS:
        case mu::ecTOO_FEW_PARAMS:
            return "a function has the wrong number of arguments";
        case mu::ecUNEXPECTED_ARG_SEP:
            return "a comma stands outside a function's arguments";
        case mu::ecUNEXPECTED_OPERATOR:
            return "an operator stands where a value is needed";
        case mu::ecUNEXPECTED_VAL:
        case mu::ecUNEXPECTED_VAR:
        case mu::ecUNEXPECTED_FUN:
        case mu::ecUNEXPECTED_ARG:
            return "\"" + token + "\" follows what comes before it without an operator";
        case mu::ecEMPTY_EXPRESSION:
            return "type an expression of x, as x^2 or sin(x)";
        default:
            return "the text cannot be read as an expression of x here";
    }
}

// The library's C interface, loaded when the first expression is read: neither program pays
// for the library, nor for the threading runtime it brings, until a student types a function.
struct Library {
    muParserHandle_t (*create)(int);
    void (*release)(muParserHandle_t);
    void (*setExpr)(muParserHandle_t, const muChar_t*);
    muFloat_t (*eval)(muParserHandle_t);
    void (*evalBulk)(muParserHandle_t, muFloat_t*, int);
    // From the threading runtime the library brings: a batch is evaluated on the calling
    // thread alone, so that no helper threads spin beside the window's.
    void (*setThreads)(int);
    muFloat_t* (*evalMulti)(muParserHandle_t, int*);
    void (*defineVar)(muParserHandle_t, const muChar_t*, muFloat_t*);
    void (*defineConst)(muParserHandle_t, const muChar_t*, muFloat_t);
    void (*defineFun1)(muParserHandle_t, const muChar_t*, muFun1_t, muBool_t);
    void (*defineFunUserData1)(muParserHandle_t, const muChar_t*, muFunUserData1_t, void*,
                               muBool_t);
    void (*defineOprt)(muParserHandle_t, const muChar_t*, muFun2_t, muInt_t, muInt_t, muBool_t);
    muBool_t (*error)(muParserHandle_t);
    muInt_t (*errorCode)(muParserHandle_t);
    muInt_t (*errorPos)(muParserHandle_t);
    const muChar_t* (*errorToken)(muParserHandle_t);
};

template <typename F>
bool resolve(void* handle, const char* name, F& function) {
    function = reinterpret_cast<F>(::dlsym(handle, name));
    return function != nullptr;
}

// Loaded once for the program's life, as the library keeps no state between parsers.
const Library* library() {
    static const std::optional<Library> loaded = []() -> std::optional<Library> {
        void* handle = ::dlopen("libmuparser.so.2", RTLD_NOW | RTLD_LOCAL);
        if (handle == nullptr) {
            return std::nullopt;
        }
        Library l{};
        const bool complete =
            resolve(handle, "mupCreate", l.create) && resolve(handle, "mupRelease", l.release) &&
            resolve(handle, "mupSetExpr", l.setExpr) && resolve(handle, "mupEval", l.eval) &&
            resolve(handle, "mupEvalBulk", l.evalBulk) &&
            resolve(handle, "mupEvalMulti", l.evalMulti) &&
            resolve(handle, "mupDefineVar", l.defineVar) &&
            resolve(handle, "mupDefineConst", l.defineConst) &&
            resolve(handle, "mupDefineFun1", l.defineFun1) &&
            resolve(handle, "mupDefineFunUserData1", l.defineFunUserData1) &&
            resolve(handle, "mupDefineOprt", l.defineOprt) &&
            resolve(handle, "mupError", l.error) &&
            resolve(handle, "mupGetErrorCode", l.errorCode) &&
            resolve(handle, "mupGetErrorPos", l.errorPos) &&
            resolve(handle, "mupGetErrorToken", l.errorToken);
        if (!complete) {
            return std::nullopt;
        }
        if (!resolve(handle, "omp_set_num_threads", l.setThreads)) {
            l.setThreads = [](int) {};  // a library built without threads
        }
        return l;
    }();
    return loaded ? &*loaded : nullptr;
}

}  // namespace

struct TypedExpression::Evaluator {
    explicit Evaluator(const Library& l) : library(l), parser(l.create(muBASETYPE_FLOAT)) {}
    ~Evaluator() {
        library.release(parser);
        for (const muParserHandle_t copy : {nudgedParser, operationsParser}) {
            if (copy != nullptr) {
                library.release(copy);
            }
        }
    }
    Evaluator(const Evaluator&) = delete;
    Evaluator& operator=(const Evaluator&) = delete;

    static double one(void* object) {
        auto* self = static_cast<Evaluator*>(object);
        return self->library.eval(self->parser);
    }
    static void many(void* object, double* values, int n) {
        auto* self = static_cast<Evaluator*>(object);
        self->library.setThreads(1);
        self->library.evalBulk(self->parser, values, n);
    }

    // The same expression with every function value moved by one rounding.
    void makeNudgedCopy(const std::string& body, const char* variable, int variables) {
        nudgedParser = nudgedCopy(body, variable, variables, false);
        // The text read well once already: the copy can fail only for want of memory, which the
        // library's C interface reports as an error of its own rather than throwing.
        if (nudgedParser == nullptr) {
            throw std::bad_alloc();
        }
        std::string doubled;
        for (const char c : body) {
            doubled += c;
            for (const NudgedOperator& o : kNudgedOperators) {
                if (c == o.sign) {
                    doubled += c;
                }
            }
        }
        // A comparison turns a rounding of its sides into a jump of f (x^2 == x*x flips from 1
        // to 0), which is no loss of digits: such an f goes without. Should the library read
        // the respelt text otherwise, the operators go without too.
        if (body.find_first_of("<>=!&|?") == std::string::npos) {
            operationsParser = nudgedCopy(doubled, variable, variables, true);
        }
    }

    // The text read with every function, and where asked the operators of kNudgedOperators,
    // moving its value by one rounding; nothing where the library reports an error.
    muParserHandle_t nudgedCopy(const std::string& text, const char* variable, int variables,
                                bool operators) {
        const muParserHandle_t copy = library.create(muBASETYPE_FLOAT);
        if (variables == 0) {
            library.defineVar(copy, variable, &nudgedX);
        }
        for (int k = 0; k < variables; ++k) {
            std::string name = "x";
            name += std::to_string(k + 1);
            library.defineVar(copy, name.c_str(), &nudgedCoordinates[static_cast<std::size_t>(k)]);
        }
        library.defineConst(copy, "pi", std::numbers::pi);
        library.defineConst(copy, "e", std::numbers::e);
        for (const Alias& alias : kAliases) {
            library.defineFunUserData1(copy, alias.name, nudged, const_cast<Alias*>(&alias), 0);
        }
        for (const Alias& alias : kRounding) {
            library.defineFunUserData1(copy, alias.name, nudged, const_cast<Alias*>(&alias), 0);
        }
        if (operators) {
            for (const NudgedOperator& o : kNudgedOperators) {
                library.defineOprt(copy, o.name, o.function, o.precedence, o.associativity, 0);
            }
        }
        library.setExpr(copy, text.c_str());
        int results = 0;
        (void)library.evalMulti(copy, &results);
        if (library.error(copy) != 0) {
            library.release(copy);
            return nullptr;
        }
        return copy;
    }

    const Library& library;
    muParserHandle_t parser;
    muParserHandle_t nudgedParser = nullptr;
    muParserHandle_t operationsParser = nullptr;
    double nudgedX = 0.0;
    // The library reads x from the first of these, or the i-th point of a batch from the i-th.
    std::array<double, kBatch> x{};
    // x1, x2, ... of an expression of several variables, one point at a time.
    std::array<double, kMaxVariables> coordinates{};
    std::array<double, kMaxVariables> nudgedCoordinates{};
};

TypedExpression::TypedExpression(std::string text, std::unique_ptr<Evaluator> evaluator,
                                 int variables)
    : text_(std::move(text)), variables_(variables), evaluator_(std::move(evaluator)) {}

TypedExpression::~TypedExpression() = default;

std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> TypedExpression::parse(
    std::string_view text) {
    return read(text, 0, "x");
}

std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> TypedExpression::parse(
    std::string_view text, int variables) {
    return read(text, variables, "x");
}

std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> TypedExpression::parseOfX1(
    std::string_view text) {
    // Read once as f(x1) of one coordinate, so that a problem is told as the cube's f tells it.
    auto asCoordinate = read(text, 1, "x");
    if (std::holds_alternative<ExpressionProblem>(asCoordinate)) {
        return asCoordinate;
    }
    return read(text, 0, "x1");
}

std::variant<std::shared_ptr<const TypedExpression>, ExpressionProblem> TypedExpression::read(
    std::string_view text, int variables, const char* single) {
    if (variables < 0 || variables > kMaxVariables) {
        return ExpressionProblem{
            "an expression takes 1 to " + std::to_string(kMaxVariables) + " variables", 1};
    }
    if (const std::size_t characters = characterCount(text); characters > kMaxExpressionLength) {
        return ExpressionProblem{"the expression is " + std::to_string(characters) +
                                     " characters long, and at most " +
                                     std::to_string(kMaxExpressionLength) + " are taken",
                                 static_cast<int>(kMaxExpressionLength) + 1};
    }
    const std::size_t start = rightHandSide(text);
    const std::string_view body = text.substr(start);
    if (body.find_first_not_of(" \t") == std::string_view::npos) {
        return ExpressionProblem{"type an expression of x, as x^2 or sin(x)",
                                 columnAt(text, start)};
    }
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto byte = static_cast<unsigned char>(text[i]);
        if ((byte < 0x20 && byte != '\t') || byte == 0x7F) {
            return ExpressionProblem{"a control character (" + shown(text.substr(i, 1)) +
                                         ") cannot stand in an expression",
                                     columnAt(text, i)};
        }
    }
    if (const std::optional<std::size_t> at = assignment(body)) {
        return ExpressionProblem{
            "\"=\" would assign to a variable: type only the right-hand side, as in x^2",
            columnAt(text, start + *at)};
    }
    const Library* functions = library();
    if (functions == nullptr) {
        return ExpressionProblem{
            "typed integrands need the muparser library (Debian package libmuparser2v5), "
            "which is not installed",
            1};
    }
    auto evaluator = std::make_unique<Evaluator>(*functions);
    const muParserHandle_t parser = evaluator->parser;
    if (variables == 0) {
        functions->defineVar(parser, single, evaluator->x.data());
    }
    for (int k = 0; k < variables; ++k) {
        // Appended rather than "x" + ...: GCC 12 warns falsely (-Wrestrict) on the sum.
        std::string name = "x";
        name += std::to_string(k + 1);
        functions->defineVar(parser, name.c_str(),
                             &evaluator->coordinates[static_cast<std::size_t>(k)]);
    }
    functions->defineConst(parser, "pi", std::numbers::pi);
    functions->defineConst(parser, "e", std::numbers::e);
    for (const Alias& alias : kAliases) {
        functions->defineFun1(parser, alias.name, alias.function, 1);
    }
    const std::string expression(body);
    functions->setExpr(parser, expression.c_str());
    // The library reads the text on the first evaluation; only then is it known good.
    int results = 0;
    (void)functions->evalMulti(parser, &results);
    if (functions->error(parser) != 0) {
        const char* token = functions->errorToken(parser);
        // The library may point just past the end; the column stays within the text.
        const auto position = static_cast<std::size_t>(std::clamp(
            static_cast<int>(functions->errorPos(parser)), 0, static_cast<int>(body.size())));
        const int code = static_cast<int>(functions->errorCode(parser));
        const int column = columnAt(text, start + position);
        if (code == mu::ecUNASSIGNABLE_TOKEN) {
            // The library names the rest of the text from there; a person names what stops it.
            if (const auto number = numberTooLarge(body, position)) {
                return ExpressionProblem{"the number " + std::string(*number) +
                                             " is too large: numbers up to about 1.8e308 are "
                                             "taken",
                                         column};
            }
            const std::string_view what = tokenAt(body, position);
            if (what.size() > 1 && what.size() == sequenceLength(what, 0)) {
                const char32_t c = codePoint(what);
                if (invisible(c)) {
                    return ExpressionProblem{
                        "an invisible character (" + shown(what) + ") stands here: delete it",
                        column};
                }
                if (c == U'²' || c == U'³') {
                    return ExpressionProblem{"\"" + std::string(what) +
                                                 "\" is not known: write a power with ^, as x^" +
                                                 (c == U'²' ? "2" : "3"),
                                             column};
                }
            }
            return ExpressionProblem{messageOf(code, what, variables), column};
        }
        return ExpressionProblem{messageOf(code, token ? token : "", variables), column};
    }
    if (results != 1) {
        return ExpressionProblem{"give one expression, not a list separated by commas",
                                 columnAt(text, start + body.find(','))};
    }
    // Its references weigh the rounding of f's own functions and operators.
    evaluator->makeNudgedCopy(expression, single, variables);
    return std::shared_ptr<const TypedExpression>(
        new TypedExpression(std::string(text), std::move(evaluator), variables));
}

PlainEvaluator TypedExpression::plainEvaluator() const {
    return {evaluator_->x.data(), evaluator_.get(), &Evaluator::one, &Evaluator::many, kBatch};
}

double TypedExpression::evaluate(double x) const {
    evaluator_->x[0] = x;
    return evaluator_->library.eval(evaluator_->parser);
}

double TypedExpression::roundingOfFunctions(double x) const {
    return roundingIn(evaluator_->nudgedParser, x);
}

double TypedExpression::roundingOfOperations(double x) const {
    return roundingIn(evaluator_->operationsParser, x);
}

double TypedExpression::roundingIn(void* copy, double x) const {
    const double value = evaluate(x);
    evaluator_->nudgedX = x;
    return movedIn(copy, value);
}

double TypedExpression::roundingAt(const double* point) const {
    const double value = evaluateAt(point);
    std::copy(point, point + variables_, evaluator_->nudgedCoordinates.begin());
    return std::max(movedIn(evaluator_->nudgedParser, value),
                    movedIn(evaluator_->operationsParser, value));
}

double TypedExpression::movedIn(void* copy, double value) const {
    Evaluator& e = *evaluator_;
    const auto nudgedParser = static_cast<muParserHandle_t>(copy);
    if (nudgedParser == nullptr) {
        return 0.0;
    }
    double moved = 0.0;
    for (const bool alternate : {false, true}) {
        tAlternate = alternate;
        tCalls = 0;
        const double other = e.library.eval(nudgedParser);
        if (e.library.error(nudgedParser) != 0) {
            throw std::bad_alloc();
        }
        if (std::isfinite(value) && std::isfinite(other)) {
            moved = std::max(moved, std::fabs(other - value));
        }
    }
    return moved;
}

double TypedExpression::evaluateAt(const double* point) const {
    std::copy(point, point + variables_, evaluator_->coordinates.begin());
    return evaluator_->library.eval(evaluator_->parser);
}

std::string typedFunctionList(std::string_view separator, std::string_view last) {
    std::string list;
    for (std::size_t i = 0; i < kTypedFunctions.size(); ++i) {
        if (i > 0) {
            list += i + 1 == kTypedFunctions.size() ? last : separator;
        }
        list += kTypedFunctions[i];
    }
    return list;
}

}  // namespace integral
