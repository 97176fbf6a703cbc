// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_output.h"

#include <nlohmann/json.hpp>
#include <string>

#include "integral_version.h"
#include "integrands/formulas.h"
#include "integrands/integrand_catalogue.h"
#include "quadrature/number_format.h"

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

std::string figure(const std::optional<double>& value) {
    return value ? fullPrecision(*value) : "none";
}

// The option's own spelling of a method.
std::string optionName(Method method) {
    std::string name(methodInfo(method).caption);
    for (char& c : name) {
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    }
    return name;
}

void writeText(std::ostream& out, const MethodRun& run, const RunAnalysis& analysis, bool details) {
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        out << run.rows[i];
        if (details) {
            const RowAnalysis& row = analysis.rows[i];
            out << "   exact=" << figure(analysis.exact)
                << " error=" << (row.roundingLevel ? "rounding-level" : figure(row.error));
            if (run.method != Method::MonteCarlo) {
                out << " ratio=" << figure(row.errorRatio);
            }
            if (run.method == Method::Zelbrin) {
                out << " order=" << figure(row.observedOrder);
            }
            out << " evaluations=" << row.evaluations;
            if (run.method == Method::MonteCarlo) {
                out << " sigma=" << figure(row.sigma) << " limit="
                    << figure(analysis.limit ? std::optional<double>(analysis.limit->value)
                                             : std::nullopt)
                    << " sigmas_from_limit=" << figure(row.sigmasFromLimit);
            }
        }
        out << "\n";
    }
    if (run.summary) {
        out << *run.summary << "\n";
    }
}

Json inputsOf(const MethodRun& run) {
    const Formula formula = formulaOf(run.fnum);
    Json inputs;
    inputs["method"] = optionName(run.method);
    if (formula == Formula::None) {
        inputs["integrand"] = nullptr;
        inputs["label"] = nullptr;
    } else {
        inputs["integrand"] = static_cast<int>(formula);
        inputs["label"] = std::string(kIntegrandLabels[static_cast<std::size_t>(formula) - 1]);
    }
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
    if (run.method == Method::MonteCarlo) {
        document["limit"] = analysis.limit ? Json(analysis.limit->value) : Json(nullptr);
    } else {
        document["limit"] = nullptr;
    }
    Json rows = Json::array();
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        const RowAnalysis& row = analysis.rows[i];
        Json entry;
        entry["n"] = row.counter;
        entry["text"] = run.rows[i];
        entry["estimate"] = row.estimate;
        entry["error"] = number(row.error);
        entry["ratio"] = number(row.errorRatio);
        entry["order"] = number(row.observedOrder);
        entry["evaluations"] = row.evaluations;
        entry["sigma"] = number(row.sigma);
        entry["sigmas_from_limit"] = number(row.sigmasFromLimit);
        entry["rounding_level"] = row.roundingLevel;
        rows.push_back(std::move(entry));
    }
    document["rows"] = std::move(rows);
    document["summary"] = run.summary ? Json(*run.summary) : Json(nullptr);
    document["summary_value"] =
        run.summary && !analysis.rows.empty() ? Json(analysis.rows.back().estimate) : Json(nullptr);
    document["fault"] = run.fault ? Json(std::string(faultName(run.fault->fault))) : Json(nullptr);
    out << document.dump(2) << "\n";
}

}  // namespace

void writeRun(std::ostream& out, const MethodRun& run, Layout layout, bool details) {
    // Without details the plain text needs nothing computed beyond the rows.
    const RunAnalysis analysis = layout == Layout::Text && !details ? RunAnalysis{} : analyse(run);
    switch (layout) {
        case Layout::Text:
            writeText(out, run, analysis, details);
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
