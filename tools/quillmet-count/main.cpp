// quillmet-count: counts files or standard input with Quillmet's counting and pricing rules.
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "binary_stdin.h"
#include "count_options.h"
#include "count_report.h"
#include "document_input.h"

namespace {

constexpr const char* kProgramName = "quillmet-count";
constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

void ReportError(const std::string& name, int errorNumber) {
    std::fprintf(stderr, "%s: %s: %s\n", kProgramName, name.c_str(), std::strerror(errorNumber));
}

// How files are read: QM_COUNT_READING picks the way ("auto", "read" or "map"), and
// QM_COUNT_SHOW_READING, when set, has each input's way told on standard error.
struct Reading {
    ReadingChoice choice = ReadingChoice::Measure;
    bool show = false;
};

// Counts one input; false (with a message on standard error) when it cannot be read.
bool CountInput(const std::string& name, bool fromStdin, int width, const Reading& reading,
                const AnsiEncoder& encoder, CountRow* row) {
    row->name = name;
    int errorNumber = 0;
    std::string reason;
    if (!fromStdin) {
        const DocumentCount document = CountDocumentFile(name, width, encoder, row, &reason);
        if (document == DocumentCount::Counted) return true;
        if (document == DocumentCount::Failed) {
            std::fprintf(stderr, "%s: %s: %s\n", kProgramName, name.c_str(), reason.c_str());
            return false;
        }
    }
    if (fromStdin) {
        if (CountStream(stdin, width, row, &errorNumber)) return true;
        ReportError(name.empty() ? "standard input" : name, errorNumber);
        return false;
    }
    if (CountFile(name, width, reading.choice, row, &errorNumber)) {
        if (reading.show) {
            std::fprintf(stderr, "%s: %s: %s\n", kProgramName, name.c_str(), row->reading.c_str());
        }
        return true;
    }
    ReportError(name, errorNumber);
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    CountOptions options;
    std::string error;
    if (!ParseCountOptions(arguments, &options, &error)) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", kProgramName, error.c_str(),
                     kProgramName);
        return kExitUsage;
    }
    if (options.help) {
        std::fputs(CountHelpText(), stdout);
        return std::fflush(stdout) == 0 ? kExitOk : kExitFailure;
    }

    Reading reading;
    const char* way = std::getenv("QM_COUNT_READING");
    if (!ParseReadingChoice(way != nullptr ? way : "", &reading.choice)) {
        std::fprintf(stderr, "%s: QM_COUNT_READING is '%s'; it must be auto, read or map\n",
                     kProgramName, way);
        return kExitUsage;
    }
    reading.show = std::getenv("QM_COUNT_SHOW_READING") != nullptr;
    const std::unique_ptr<AnsiEncoder> encoder = MakeCountEncoder(options.codePage, &error);
    if (encoder == nullptr) {
        std::fprintf(stderr, "%s: %s\n", kProgramName, error.c_str());
        return kExitUsage;
    }
    if (options.text) return PrintCountedTexts(options.files, *encoder);

    const CorrectedPricingInputs pricing = CorrectPricingInputs(options.pricing);
    std::vector<std::string> names = options.files;
    const bool namedNone = names.empty();
    if (namedNone) names.push_back("");

    int status = kExitOk;
    bool stdinBinary = false;
    std::vector<CountRow> rows;
    for (const std::string& name : names) {
        const bool fromStdin = namedNone || name == "-";
        if (fromStdin && !stdinBinary) {
            SetStdinBinary();
            stdinBinary = true;
        }
        CountRow row;
        if (!CountInput(name, fromStdin, pricing.lineWidth, reading, *encoder, &row)) {
            status = kExitFailure;
            continue;
        }
        row.price = PriceRow(pricing, row);
        rows.push_back(row);
    }
    if (names.size() > 1) rows.push_back(TotalRow(rows));

    const std::string report = FormatCountRows(rows, options.priced);
    std::fwrite(report.data(), 1, report.size(), stdout);
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) {
        std::fprintf(stderr, "%s: cannot write the output: %s\n", kProgramName,
                     std::strerror(errno));
        return kExitFailure;
    }
    return status;
}
