// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_output.h"

#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>

#include "integral_version.h"
#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"
#include "model/row_replay.h"
#include "quadrature/number_format.h"
#include "runtime/short_number.h"

namespace integral {

namespace {

using Json = nlohmann::ordered_json;

// A figure, or null where it does not exist; the analysis never holds a non-finite one.
Json number(const std::optional<double>& value) {
    return value ? Json(*value) : Json(nullptr);
}

Json number(const Variant& value) {
    return value.isEmpty() ? Json(nullptr) : Json(value.toDouble());
}

// The document made, with exactly the names of `keys`, in their order: a name the writer
// forgot or one the list does not know is a fault of this program, found by its tests.
Json shaped(const Json& made, std::span<const JsonKey> keys) {
    Json result = Json::object();
    for (const JsonKey& key : keys) {
        const std::string name(key.name);
        if (!made.contains(name)) {
            if (key.seldom) {
                continue;
            }
            throw std::logic_error("JSON without " + name);
        }
        const Json& value = made.at(name);
        if (key.inside.empty() || value.is_null()) {
            result[name] = value;
        } else if (key.list) {
            Json list = Json::array();
            for (const Json& element : value) {
                list.push_back(shaped(element, key.inside));
            }
            result[name] = std::move(list);
        } else {
            result[name] = shaped(value, key.inside);
        }
    }
    if (result.size() != made.size()) {
        throw std::logic_error("JSON with a name the list does not know");
    }
    return result;
}

std::string figure(const std::optional<double>& value) {
    return value ? fullPrecision(*value) : "none";
}

void writeText(std::ostream& out, const MethodRun& run, const RunAnalysis& analysis, bool details) {
    const NumericalMethod& method = methodOf(run.method);
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        out << run.rows[i];
        if (details) {
            const RowAnalysis& row = analysis.rows[i];
            if (analysis.reference && !analysis.reference->closedForm) {
                out << "   reference=" << fullPrecision(analysis.reference->value) << "+-"
                    << fullPrecision(analysis.reference->uncertainty);
            } else if (run.integrand.expression() != nullptr) {
                out << "   reference=none";
            } else {
                out << "   exact=" << figure(analysis.exact);
            }
            out << " error="
                << (row.roundingLevel               ? "rounding-level"
                    : row.belowReferenceUncertainty ? "below-reference-uncertainty"
                                                    : figure(row.error));
            if (!method.statistical()) {
                out << " method_error=" << figure(row.methodError)
                    << " rounding_error=" << figure(row.roundingError)
                    << " ratio=" << figure(row.errorRatio);
            }
            if (method.hasObservedOrder()) {
                out << " order=" << figure(row.observedOrder);
            }
            out << " evaluations=" << row.evaluations
                << " estimated_error=" << figure(row.estimatedError);
            if (!row.tableau.empty()) {
                // Romberg's table, a row of it between bars: R(0,0)|R(1,0),R(1,1)|...
                out << " table=";
                for (std::size_t j = 0; j < row.tableau.size(); ++j) {
                    out << (j > 0 ? "|" : "");
                    for (std::size_t m = 0; m < row.tableau[j].size(); ++m) {
                        out << (m > 0 ? "," : "") << fullPrecision(row.tableau[j][m]);
                    }
                }
            }
            if (method.statistical()) {
                out << " sigma=" << figure(row.sigma) << " limit="
                    << figure(analysis.limit ? std::optional<double>(analysis.limit->value)
                                             : std::nullopt)
                    << " sigmas_from_limit=" << figure(row.sigmasFromLimit)
                    << " sigma_from=" << (row.sigmaFromRuleOfThree ? "rule-of-three" : "spread")
                    << " limit_off_exact="
                    << figure(analysis.limit ? analysis.limit->offExact : std::nullopt);
            }
        }
        out << "\n";
    }
    if (run.summary) {
        out << *run.summary << "\n";
    }
}

// Why a run has no reference, in words: that the integral does not exist, or cannot be known.
std::optional<std::string> noReference(const RunAnalysis& analysis) {
    if (analysis.reference) {
        return std::nullopt;
    }
    if (analysis.divergence) {
        return divergenceText(*analysis.divergence);
    }
    if (analysis.whyNoReference.empty()) {
        return std::nullopt;
    }
    return analysis.whyNoReference;
}

Json inputsOf(const MethodRun& run) {
    const IntegrandDescriptor& integrand = run.integrand;
    Json inputs;
    inputs["method"] = std::string(methodInfo(run.method).name);
    const Formula formula = formulaOf(integrand.fnum());
    inputs["integrand"] =
        formula == Formula::None ? Json(nullptr) : Json(static_cast<int>(formula));
    inputs["function"] =
        integrand.expression() != nullptr ? Json(integrand.expression()->text()) : Json(nullptr);
    inputs["label"] = integrand.chosen() ? Json(integrand.label()) : Json(nullptr);
    inputs["lower"] = number(run.x1);
    inputs["upper"] = number(run.x2);
    inputs["ymax"] = number(run.ymax);
    return inputs;
}

void writeJson(std::ostream& out, const MethodRun& run, const RunAnalysis& analysis) {
    Json document;
    document["version"] = std::string(kVersion);
    document["inputs"] = inputsOf(run);
    document["exact"] = number(analysis.exact);
    document["reference"] = analysis.reference ? Json(analysis.reference->value) : Json(nullptr);
    document["reference_error"] =
        analysis.reference ? Json(analysis.reference->uncertainty) : Json(nullptr);
    const std::optional<std::string> why = noReference(analysis);
    document["no_reference"] = why ? Json(*why) : Json(nullptr);
    if (!analysis.referenceNote.empty()) {
        document["reference_note"] = analysis.referenceNote;
    }
    if (analysis.divergence) {
        document["divergence"] = {{"at", analysis.divergence->at},
                                  {"power", analysis.divergence->power}};
    } else {
        document["divergence"] = nullptr;
    }
    document["observed_slope"] = number(analysis.observedSlope);
    document["observed_slope_error"] = number(analysis.observedSlopeError);
    if (methodOf(run.method).statistical()) {
        document["limit"] = analysis.limit ? Json(analysis.limit->value) : Json(nullptr);
        document["limit_off_exact"] =
            number(analysis.limit ? analysis.limit->offExact : std::nullopt);
    } else {
        document["limit"] = nullptr;
        document["limit_off_exact"] = nullptr;
    }
    Json rows = Json::array();
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        const RowAnalysis& row = analysis.rows[i];
        Json entry;
        entry["n"] = row.counter;
        entry["text"] = run.rows[i];
        entry["estimate"] = row.estimate;
        entry["error"] = number(row.error);
        entry["method_error"] = number(row.methodError);
        entry["rounding_error"] = number(row.roundingError);
        entry["ratio"] = number(row.errorRatio);
        entry["order"] = number(row.observedOrder);
        entry["evaluations"] = row.evaluations;
        entry["sigma"] = number(row.sigma);
        entry["sigmas_from_limit"] = number(row.sigmasFromLimit);
        entry["sigma_from_rule_of_three"] = row.sigmaFromRuleOfThree;
        entry["rounding_level"] = row.roundingLevel;
        entry["estimated_error"] = number(row.estimatedError);
        entry["table"] = row.tableau.empty() ? Json(nullptr) : Json(row.tableau);
        rows.push_back(std::move(entry));
    }
    document["rows"] = std::move(rows);
    document["summary"] = run.summary ? Json(*run.summary) : Json(nullptr);
    document["summary_value"] =
        run.summary && !analysis.rows.empty() ? Json(analysis.rows.back().estimate) : Json(nullptr);
    document["fault"] = run.fault ? Json(std::string(faultName(run.fault->fault))) : Json(nullptr);
    out << shaped(document, kRunKeys).dump(2) << "\n";
}

std::vector<std::string> pointColumns(const MethodRun& run) {
    if (methodOf(run.method).statistical()) {
        return {"x", "y", "fx", "hit"};
    }
    return {"x", "fx", "weight"};
}

std::vector<double> pointValues(const MethodRun& run, const EvaluationPoint& p) {
    if (methodOf(run.method).statistical()) {
        return {p.x, p.y, p.fx, p.hit ? 1.0 : 0.0};
    }
    return {p.x, p.fx, p.weight};
}

}  // namespace

std::string jsonKeysText(std::span<const JsonKey> keys) {
    std::string text;
    for (const JsonKey& key : keys) {
        if (!text.empty()) {
            text += ", ";
        }
        text += key.name;
        if (key.seldom) {
            text += " (only where it applies)";
        }
        if (!key.inside.empty()) {
            text += key.list ? " [{" : " {";
            text += jsonKeysText(key.inside);
            text += key.list ? "}]" : "}";
        }
    }
    return text;
}

void writePoints(std::ostream& out, const MethodRun& run, std::size_t row, Layout layout) {
    const std::optional<RowPoints> replayed = replayRow(run, row);
    if (!replayed) {
        if (layout == Layout::Json) {
            // The row was never made: the document says so, with the fault that stopped it.
            Json document;
            document["version"] = std::string(kVersion);
            document["inputs"] = inputsOf(run);
            document["n"] = rowCounter(run.method, static_cast<int>(row));
            document["estimate"] = nullptr;
            document["points"] = Json::array();
            document["fault"] =
                run.fault ? Json(std::string(faultName(run.fault->fault))) : Json(nullptr);
            out << shaped(document, kPointsKeys).dump(2) << "\n";
        }
        return;
    }
    const std::vector<std::string> columns = pointColumns(run);
    if (layout == Layout::Json) {
        Json document;
        document["version"] = std::string(kVersion);
        document["inputs"] = inputsOf(run);
        document["n"] = replayed->counter;
        document["estimate"] = run.figures[row].estimate;
        Json points = Json::array();
        for (const EvaluationPoint& p : replayed->points) {
            Json entry;
            const std::vector<double> values = pointValues(run, p);
            for (std::size_t c = 0; c < columns.size(); ++c) {
                if (columns[c] == "hit") {
                    entry[columns[c]] = p.hit ? 1 : 0;
                } else {
                    entry[columns[c]] = values[c];
                }
            }
            points.push_back(std::move(entry));
        }
        document["points"] = std::move(points);
        document["fault"] = nullptr;
        out << shaped(document, kPointsKeys).dump(2) << "\n";
        return;
    }
    // Text aligns the columns for reading; tsv separates them with tabs for programs.
    const bool tsv = layout == Layout::Tsv;
    const auto cell = [tsv](std::string text, bool last) {
        if (tsv) {
            return last ? text : text + '\t';
        }
        if (!last && text.size() < 25) {
            text.resize(25, ' ');
        } else if (!last) {
            text += ' ';
        }
        return text;
    };
    for (std::size_t c = 0; c < columns.size(); ++c) {
        out << cell(columns[c], c + 1 == columns.size());
    }
    out << "\n";
    for (const EvaluationPoint& p : replayed->points) {
        const std::vector<double> values = pointValues(run, p);
        for (std::size_t c = 0; c < values.size(); ++c) {
            const std::string text =
                columns[c] == "hit" ? (p.hit ? "1" : "0") : fullPrecision(values[c]);
            out << cell(text, c + 1 == values.size());
        }
        out << "\n";
    }
}

namespace {

std::string claimWord(const RaceEntry& e) {
    if (!e.claimHeld) {
        return "none";
    }
    return *e.claimHeld ? "held" : "missed";
}

Json raceEntryJson(const RaceEntry& e) {
    Json entry;
    entry["method"] = std::string(methodInfo(e.method).name);
    entry["row"] = e.counter ? Json(*e.counter) : Json(nullptr);
    entry["n"] = e.counter ? Json(*e.counter) : Json(nullptr);
    entry["evaluations"] = e.counter ? Json(e.evaluations) : Json(nullptr);
    entry["estimate"] = number(e.estimate);
    entry["estimated_error"] = number(e.estimatedError);
    entry["claim_at_rounding_level"] = e.claimAtRoundingLevel;
    entry["error"] = number(e.error);
    entry["claim_held"] = e.claimHeld ? Json(*e.claimHeld) : Json(nullptr);
    entry["missed_by"] = number(e.missedBy);
    entry["claims_held"] = e.claimsHeld;
    entry["claims_judged"] = e.claimsJudged;
    entry["no_claim"] = e.noClaim.empty() ? Json(nullptr) : Json(e.noClaim);
    return entry;
}

// What every race document starts with: the inputs, the seed and the truth it is judged by.
Json raceDocument(const Race& race) {
    Json document;
    document["version"] = std::string(kVersion);
    MethodRun inputs;
    inputs.integrand = race.integrand;
    inputs.x1 = race.x1;
    inputs.x2 = race.x2;
    inputs.ymax = race.ymax;
    Json given = inputsOf(inputs);
    given.erase("method");
    document["inputs"] = given;
    document["seed"] = race.seed;
    document["reference"] = race.reference ? Json(race.reference->value) : Json(nullptr);
    document["reference_error"] =
        race.reference ? Json(race.reference->uncertainty) : Json(nullptr);
    document["no_reference"] =
        race.reference || race.whyNoReference.empty() ? Json(nullptr) : Json(race.whyNoReference);
    return document;
}

// The race's lines, each after `before` (the sweep's budget column), in columns or tsv.
class RaceLines {
  public:
    RaceLines(std::ostream& out, Layout layout, bool withBudget)
        : out_(out), tsv_(layout == Layout::Tsv), withBudget_(withBudget) {
        std::vector<std::string> header = {"method",          "row",   "evaluations", "estimate",
                                           "estimated_error", "error", "claim"};
        if (withBudget_) {
            header.insert(header.begin(), "budget");
        }
        line(header);
    }

    void entries(const Race& race) {
        for (const RaceEntry& e : race.entries) {
            std::vector<std::string> cells = {
                std::string(methodInfo(e.method).name),
                e.counter ? std::to_string(*e.counter) : "none",
                e.counter ? std::to_string(e.evaluations) : "none",
                figure(e.estimate),
                figure(e.estimatedError) + (e.claimAtRoundingLevel && !tsv_ ? " (rounding)" : ""),
                figure(e.error),
                claimWord(e) + (missText(e).empty() ? "" : " (" + missText(e) + ")")};
            if (withBudget_) {
                cells.insert(cells.begin(), std::to_string(race.budget));
            }
            line(cells);
        }
    }

    // In text, what no single line says: why there are no true errors, and how often each
    // method's claims held over its table's rows.
    void footer(const Race& race) {
        if (tsv_) {
            return;
        }
        if (!race.reference) {
            out_ << "# no true errors: "
                 << (race.whyNoReference.empty() ? "there is no reference" : race.whyNoReference)
                 << "\n";
        }
        for (const RaceEntry& e : race.entries) {
            out_ << "# " << methodInfo(e.method).name << ": " << claimsText(e) << "\n";
        }
    }

  private:
    void line(const std::vector<std::string>& cells) {
        const std::size_t methodColumn = withBudget_ ? 1 : 0;
        for (std::size_t c = 0; c < cells.size(); ++c) {
            std::string cell = cells[c];
            if (!tsv_ && c + 1 < cells.size()) {
                const std::size_t width = c < methodColumn ? 9 : c == methodColumn ? 18 : 24;
                cell.resize(std::max<std::size_t>(cell.size() + 1, width), ' ');
            }
            out_ << cell << (tsv_ && c + 1 < cells.size() ? "\t" : "");
        }
        out_ << "\n";
    }

    std::ostream& out_;
    bool tsv_;
    bool withBudget_;
};

}  // namespace

std::string wrapped(const std::string& words, std::size_t indent) {
    constexpr std::size_t kWidth = 90;
    std::string text;
    std::string line(indent, ' ');
    std::size_t start = 0;
    while (start < words.size()) {
        std::size_t end = words.find(' ', start);
        if (end == std::string::npos) {
            end = words.size();
        }
        const std::string word = words.substr(start, end - start);
        if (line.size() > indent && line.size() + 1 + word.size() > kWidth) {
            text += line + "\n";
            line = std::string(indent, ' ');
        }
        line += (line.size() > indent ? " " : "") + word;
        start = end + 1;
    }
    return text + line + "\n";
}

Json raceEntriesJson(const Race& race) {
    Json entries = Json::array();
    for (const RaceEntry& e : race.entries) {
        entries.push_back(shaped(raceEntryJson(e), kRaceEntryKeys));
    }
    return entries;
}

Json sweepRacesJson(const Sweep& sweep) {
    Json races = Json::array();
    for (const Race& race : sweep.races) {
        races.push_back({{"budget", race.budget}, {"entries", raceEntriesJson(race)}});
    }
    return races;
}

void writeRace(std::ostream& out, const Race& race, Layout layout) {
    if (layout == Layout::Json) {
        Json document = raceDocument(race);
        document["budget"] = race.budget;
        document["compare"] = raceEntriesJson(race);
        out << shaped(document, kRaceKeys).dump(2) << "\n";
        return;
    }
    RaceLines lines(out, layout, false);
    lines.entries(race);
    lines.footer(race);
}

void writeSweep(std::ostream& out, const Sweep& sweep, Layout layout) {
    if (sweep.races.empty()) {
        return;
    }
    if (layout == Layout::Json) {
        Json document = raceDocument(sweep.races.front());
        document["sweep"] = sweepRacesJson(sweep);
        out << shaped(document, kSweepKeys).dump(2) << "\n";
        return;
    }
    RaceLines lines(out, layout, true);
    for (const Race& race : sweep.races) {
        lines.entries(race);
    }
    lines.footer(sweep.races.back());
}

void writeSized(std::ostream& out, const Model& model, Method method, const Model::SizedRun& sized,
                Layout layout) {
    MethodRun inputs;
    inputs.method = method;
    inputs.integrand = model.integrand();
    inputs.x1 = model.x1();
    inputs.x2 = model.x2();
    inputs.ymax = model.ymax();
    const Reference reference =
        model.integrand().reference(model.x1().toDouble(), model.x2().toDouble());
    std::optional<double> claim;
    std::optional<double> error;
    if (sized.row) {
        claim = sized.row->sigma ? std::optional(2.0 * *sized.row->sigma) : sized.row->ownError;
        if (claim) {
            claim = std::max(*claim, claimFloor(sized.row->estimate));
        }
        if (reference.value && std::isfinite(sized.row->estimate - reference.value->value)) {
            error = sized.row->estimate - reference.value->value;
        }
    }
    if (layout == Layout::Json) {
        Json document;
        document["version"] = std::string(kVersion);
        document["inputs"] = inputsOf(inputs);
        document["n"] = sized.row ? Json(sized.row->counter) : Json(nullptr);
        document["evaluations"] = sized.row ? Json(sized.row->evaluations) : Json(nullptr);
        document["estimate"] = sized.row ? number(sized.row->estimate) : Json(nullptr);
        document["estimated_error"] = number(claim);
        document["sigma"] = sized.row ? number(sized.row->sigma) : Json(nullptr);
        document["reference"] = reference.value ? Json(reference.value->value) : Json(nullptr);
        document["error"] = number(error);
        document["fault"] =
            sized.fault ? Json(std::string(faultName(sized.fault->fault))) : Json(nullptr);
        out << shaped(document, kSizedKeys).dump(2) << "\n";
        return;
    }
    if (!sized.row) {
        return;
    }
    const RowFigures& row = *sized.row;
    if (layout == Layout::Tsv) {
        out << "n\testimate\testimated_error\tsigma\terror\tevaluations\n"
            << row.counter << '\t' << fullPrecision(row.estimate) << '\t'
            << (claim ? fullPrecision(*claim) : "") << '\t'
            << (row.sigma ? fullPrecision(*row.sigma) : "") << '\t'
            << (error ? fullPrecision(*error) : "") << '\t' << row.evaluations << "\n";
        return;
    }
    out << row.counter << "   " << fullPrecision(row.estimate) << "\n"
        << "# estimated_error=" << figure(claim) << " sigma=" << figure(row.sigma)
        << " error=" << figure(error) << " evaluations=" << row.evaluations << "\n";
}

void writeRun(std::ostream& out, const MethodRun& run, Layout layout, bool details) {
    // Without details text and tsv need nothing beyond each row's count and estimate: no
    // reference is made for them.
    RunAnalysis analysis;
    if (details || layout == Layout::Json) {
        analysis = analyse(run);
    } else {
        for (const RowFigures& figures : run.figures) {
            RowAnalysis row;
            row.counter = figures.counter;
            row.estimate = figures.estimate;
            row.evaluations = figures.evaluations;
            analysis.rows.push_back(row);
        }
    }
    switch (layout) {
        case Layout::Text:
            writeText(out, run, analysis, details);
            if (details) {
                if (const std::optional<std::string> why = noReference(analysis)) {
                    out << "# no reference: " << *why << "\n";
                }
                if (!analysis.referenceNote.empty()) {
                    out << "# reference: " << analysis.referenceNote << "\n";
                }
            }
            break;
        case Layout::Tsv:
            out << tableAsTsv(analysis, run.method, details);
            break;
        case Layout::Json:
            writeJson(out, run, analysis);
            break;
    }
}

}  // namespace integral
