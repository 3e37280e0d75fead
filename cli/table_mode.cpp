#include "cli/table_mode.h"

#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstring>

#include "cli/line_reader.h"
#include "cli/result_text.h"
#include "engine/program.h"
#include "reasons/failure_explanation.h"
#include "request/value_conversion.h"

namespace {

// Rows are gathered into columns and evaluated a block at a time, so the prepared program runs
// over whole columns rather than once per call.
constexpr std::size_t kBlockRows = 4096;
constexpr int kColumns = 3;  // x, y and z
// A stop that the steps reach only up to rounding still gets its row.
constexpr double kRowSlack = 1e-9;
constexpr double kMostRows = 0x1p63;
// A bad field is quoted in its message up to this many bytes.
constexpr int kShownFieldBytes = 64;

struct Table {
    const Program* program;
    ResultForm form;
    bool withX;  // --range: each line starts with x and a tab
    OutputBuffer* out;
    std::size_t rows;  // gathered and not yet evaluated
    bool columnGiven[kColumns];
    float columns[kColumns][kBlockRows];
    float results[kBlockRows];
};

// Written straight into the output buffer, flushed first when the longest text might not fit.
void AppendValue(OutputBuffer& out, float value, ResultForm form, char after) {
    if (kOutputCapacity - out.used <= kValueTextCapacity && !FlushOutput(out)) return;
    char* const text = out.data + out.used;
    const std::size_t length = ValueText(value, form, text);
    text[length] = after;
    out.used += length + 1;
}

void EvaluateBlock(Table& table) {
    if (table.rows == 0) return;
    const float* y = table.columnGiven[1] ? table.columns[1] : nullptr;
    const float* z = table.columnGiven[2] ? table.columns[2] : nullptr;
    RunProgramRows(*table.program, table.rows, table.columns[0], y, z, table.results);
    for (std::size_t row = 0; row < table.rows; ++row) {
        if (table.withX) AppendValue(*table.out, table.columns[0][row], table.form, '\t');
        AppendValue(*table.out, table.results[row], table.form, '\n');
    }
    table.rows = 0;
    table.columnGiven[1] = table.columnGiven[2] = false;
}

void AddRow(Table& table, const float (&values)[kColumns], int given) {
    if (table.rows == kBlockRows) EvaluateBlock(table);
    for (int column = 0; column < kColumns; ++column) {
        table.columns[column][table.rows] = values[column];
        if (column < given) table.columnGiven[column] = true;
    }
    ++table.rows;
}

enum class RowProblem { kNone, kNotANumber, kFourthField, kTooLong, kNulByte };

struct RowReading {
    RowProblem problem;
    float values[kColumns];  // missing ones 0
    int given;
    const char* field;  // the field at fault
    int fieldLength;
};

constexpr char kSeparators[] = " \t";

bool IsSeparator(char c) {
    return c == ' ' || c == '\t';
}

const char* FieldEnd(const char* field) {
    while (*field != '\0' && !IsSeparator(*field))
        ++field;
    return field;
}

RowReading ReadRow(const char* text) {
    RowReading row{RowProblem::kNone, {0.0f, 0.0f, 0.0f}, 0, nullptr, 0};
    for (const char* at = text;;) {
        while (IsSeparator(*at))
            ++at;
        if (*at == '\0') return row;
        double value = 0.0;
        const char* end =
            row.given < kColumns ? ReadDelimitedNumber(at, kSeparators, value) : nullptr;
        if (end == nullptr) {
            row.problem =
                row.given == kColumns ? RowProblem::kFourthField : RowProblem::kNotANumber;
            row.field = at;
            row.fieldLength = static_cast<int>(FieldEnd(at) - at);
            return row;
        }
        row.values[row.given++] = static_cast<float>(value);
        at = end;
    }
}

RowReading ReadInputLine(const InputLine& line) {
    if (line.tooLong) return {RowProblem::kTooLong, {}, 0, nullptr, 0};
    if (line.hasNulByte) return {RowProblem::kNulByte, {}, 0, nullptr, 0};
    return ReadRow(line.text);
}

// Cut at a character boundary, so a quoted UTF-8 field stays UTF-8.
int ShownLength(const char* field, int length) {
    if (length <= kShownFieldBytes) return length;
    int shown = kShownFieldBytes;
    while (shown > 0 && (static_cast<unsigned char>(field[shown]) & 0xC0) == 0x80)
        --shown;
    return shown;
}

void Complain(const char* message) {
    WriteAll(STDERR_FILENO, message, std::strlen(message));
}

void DescribeBadRow(const RowReading& row, unsigned long long number, char* message,
                    std::size_t capacity) {
    const int shown = ShownLength(row.field, row.fieldLength);
    const char* more = shown < row.fieldLength ? "..." : "";
    switch (row.problem) {
        case RowProblem::kNotANumber: {
            const bool comma = std::memchr(row.field, ',', row.fieldLength) != nullptr;
            std::snprintf(message, capacity,
                          "quorvel-eval: line %llu: '%.*s%s' is not a number%s\n", number, shown,
                          row.field, more, comma ? "; the decimal separator is a period" : "");
            return;
        }
        case RowProblem::kFourthField:
            std::snprintf(message, capacity,
                          "quorvel-eval: line %llu: '%.*s%s' is a fourth number; a row holds x, "
                          "y and z\n",
                          number, shown, row.field, more);
            return;
        case RowProblem::kTooLong:
            std::snprintf(message, capacity, "quorvel-eval: line %llu: longer than %zu bytes\n",
                          number, kLineLimit);
            return;
        case RowProblem::kNulByte:
            std::snprintf(message, capacity, "quorvel-eval: line %llu: holds a NUL byte\n", number);
            return;
        case RowProblem::kNone:
            break;
    }
    message[0] = '\0';
}

// The error text keeps the lines aligned with the input; the message follows the results before
// it, so the two streams keep their order where they meet.
void ReportBadRow(Table& table, const RowReading& row, unsigned long long number) {
    EvaluateBlock(table);
    AppendLine(*table.out, ErrorDisplay().text);
    FlushOutput(*table.out);
    char message[256];
    DescribeBadRow(row, number, message, sizeof message);
    Complain(message);
}

// Answers go out before the process may wait for input, as in the line-by-line mode.
bool BeforeRead(void* context, bool) {
    Table& table = *static_cast<Table*>(context);
    EvaluateBlock(table);
    return FlushOutput(*table.out);
}

int TabulateInput(Table& table, bool& anyBadRow) {
    static LineReader reader;
    InitLineReader(reader, STDIN_FILENO, BeforeReadHook{BeforeRead, &table});
    InputLine line;
    unsigned long long number = 0;
    while (table.out->error == 0 && ReadLine(reader, line)) {
        ++number;
        const RowReading row = ReadInputLine(line);
        if (row.problem == RowProblem::kNone) {
            AddRow(table, row.values, row.given);
        } else {
            ReportBadRow(table, row, number);
            anyBadRow = true;
        }
    }
    EvaluateBlock(table);
    return reader.error;
}

struct Range {
    double start;
    double step;
    unsigned long long rows;
};

// Reads "x=START:STOP:STEP"; returns null, or why the range gives no rows.
const char* ReadRange(const char* text, Range& range) {
    if (std::strncmp(text, "x=", 2) != 0) return "expected x=START:STOP:STEP";
    double parts[3];
    const char* at = text + 2;
    for (int part = 0; part < 3; ++part) {
        const char* end = ReadDelimitedNumber(at, part < 2 ? ":" : "", parts[part]);
        if (end == nullptr || (part < 2 && *end != ':')) {
            return "expected x=START:STOP:STEP, each wholly a number";
        }
        if (!std::isfinite(parts[part])) return "START, STOP and STEP must be finite";
        at = end + 1;
    }
    const double start = parts[0];
    const double stop = parts[1];
    const double step = parts[2];
    if (step == 0.0) return "the step is 0";
    const double steps = (stop - start) / step;
    if (steps < 0.0) return "the step leads away from the stop";
    const double rows = std::floor(steps + kRowSlack) + 1.0;
    if (!(rows < kMostRows)) return "more rows than can be counted";
    range = {start, step, static_cast<unsigned long long>(rows)};
    return nullptr;
}

void TabulateRange(Table& table, const Range& range, const CommandLine& commandLine) {
    const float fixed[kColumns] = {0.0f, ConvertValueText(commandLine.values.y),
                                   ConvertValueText(commandLine.values.z)};
    float values[kColumns] = {0.0f, fixed[1], fixed[2]};
    for (unsigned long long i = 0; i < range.rows && table.out->error == 0; ++i) {
        values[0] = static_cast<float>(range.start + static_cast<double>(i) * range.step);
        AddRow(table, values, kColumns);
    }
    EvaluateBlock(table);
}

// The engine's program itself, not the C interface's: its reason is told as --explain tells
// one, with the column in characters.
Program* Prepare(const char* expression) {
    FailureReport report{};
    Program* program = PrepareProgram(expression, &report);
    if (program == nullptr) {
        char reason[512];
        ExplainFailure(expression, report, reason, sizeof reason);
        char message[640];
        std::snprintf(message, sizeof message, "quorvel-eval: 1:%d: %s\n",
                      static_cast<int>(FailureColumn(expression, report)), reason);
        Complain(message);
    }
    return program;
}

}  // namespace

TableOutcome Tabulate(const CommandLine& commandLine, OutputBuffer& out) {
    TableOutcome outcome{false, false, 0};
    Range range{};
    if (commandLine.range != nullptr) {
        if (const char* problem = ReadRange(commandLine.range, range)) {
            char message[512];
            std::snprintf(message, sizeof message, "quorvel-eval: --range '%s': %s\n",
                          commandLine.range, problem);
            Complain(message);
            outcome.refused = true;
            return outcome;
        }
    }
    Program* program = Prepare(commandLine.table);
    if (program == nullptr) {
        outcome.refused = true;
        return outcome;
    }
    static Table table;
    table.program = program;
    table.form = commandLine.form;
    table.withX = commandLine.range != nullptr;
    table.out = &out;
    table.rows = 0;
    if (table.withX) {
        TabulateRange(table, range, commandLine);
    } else {
        outcome.readError = TabulateInput(table, outcome.anyBadRow);
    }
    ReleaseProgram(program);
    return outcome;
}
