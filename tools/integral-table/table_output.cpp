// SPDX-License-Identifier: GPL-3.0-or-later
#include "table_output.h"

#include <string>

namespace integral {

namespace {

std::string jsonNumber(const std::optional<double>& value) {
    return value ? fullPrecision(*value) : "null";
}

// The texts written here are rows, summaries and fault names: printable ASCII without quotes
// or backslashes, so quoting them is all JSON asks.
std::string jsonString(const std::string& text) {
    return '"' + text + '"';
}

void writeText(std::ostream& out, const MethodRun& run, const RunAnalysis& analysis, bool details) {
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        out << run.rows[i];
        if (details) {
            const RowAnalysis& row = analysis.rows[i];
            out << "   exact=" << (analysis.exact ? fullPrecision(*analysis.exact) : "none")
                << " error=" << (row.error ? fullPrecision(*row.error) : "none")
                << " evaluations=" << row.evaluations;
            if (row.sigma) {
                out << " sigma=" << fullPrecision(*row.sigma);
            }
        }
        out << "\n";
    }
    if (run.summary) {
        out << *run.summary << "\n";
    }
}

void writeJson(std::ostream& out, const MethodRun& run, const RunAnalysis& analysis, bool details) {
    out << "{\"method\": " << jsonString(std::string(methodInfo(run.method).caption));
    if (details) {
        out << ", \"exact\": " << jsonNumber(analysis.exact);
    }
    out << ", \"rows\": [";
    for (std::size_t i = 0; i < run.rows.size(); ++i) {
        const RowAnalysis& row = analysis.rows[i];
        out << (i == 0 ? "" : ", ") << "{\"n\": " << row.counter
            << ", \"text\": " << jsonString(run.rows[i])
            << ", \"estimate\": " << fullPrecision(row.estimate);
        if (details) {
            out << ", \"error\": " << jsonNumber(row.error)
                << ", \"evaluations\": " << row.evaluations;
            if (run.method == Method::MonteCarlo) {
                out << ", \"sigma\": " << jsonNumber(row.sigma);
            }
        }
        out << "}";
    }
    out << "], \"summary\": " << (run.summary ? jsonString(*run.summary) : "null")
        << ", \"fault\": "
        << (run.fault ? jsonString(std::string(faultName(run.fault->fault))) : "null") << "}\n";
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
            writeJson(out, run, analysis, details);
            break;
    }
}

}  // namespace integral
