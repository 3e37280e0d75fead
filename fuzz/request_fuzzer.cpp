// Feeds arbitrary bytes to the evaluation request and checks what every answer must satisfy.
// The input is the expression, X, Y and Z texts separated by NUL bytes (a NUL can never be part
// of a text); value texts that are missing read as "0.0", the fields' initial text.

#include <iconv.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iterator>
#include <string>

#include <quorvel/quorvel.h>
#include "engine/groups_and_calls.h"
#include "reasons/failure_explanation.h"
#include "reasons/failure_tooltip.h"
#include "request/evaluation_request.h"
#include "request/exact_value_text.h"

namespace {

constexpr std::size_t kLongestExpression = kExpressionCapacity - 1;
constexpr std::size_t kLongestGroup = kGroupCapacity - 1;
constexpr int kDeepestNesting = kBracketDepthLimit;

struct RequestInput {
    std::string expression;
    std::string x = "0.0";
    std::string y = "0.0";
    std::string z = "0.0";
};

RequestInput SplitInput(const std::uint8_t* data, std::size_t size) {
    RequestInput input;
    std::string* fields[] = {&input.expression, &input.x, &input.y, &input.z};
    const char* bytes = reinterpret_cast<const char*>(data);
    std::size_t start = 0;
    for (std::string* field : fields) {
        if (start > size) break;
        const void* nul = std::memchr(bytes + start, '\0', size - start);
        std::size_t end =
            nul ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
        field->assign(bytes + start, end - start);
        start = end + 1;
    }
    return input;
}

[[noreturn]] void Violated(const char* property, const RequestInput& input, const char* answer) {
    std::fprintf(stderr, "property violated: %s\n  expression (%zu bytes): %.200s\n", property,
                 input.expression.size(), input.expression.c_str());
    std::fprintf(stderr, "  x: %.80s  y: %.80s  z: %.80s\n  answer: %s\n", input.x.c_str(),
                 input.y.c_str(), input.z.c_str(), answer);
    std::abort();
}

void Require(bool holds, const char* property, const RequestInput& input, const char* answer) {
    if (!holds) Violated(property, input, answer);
}

bool IsErrorText(const char* answer) {
    return std::strcmp(answer, kErrorText) == 0;
}

// Optional minus, digits, a point and exactly six decimals, or one of the non-finite words.
bool HasFixedShape(const char* answer) {
    const char* p = answer;
    if (*p == '-') ++p;
    if (std::strcmp(p, "inf") == 0 || std::strcmp(p, "nan") == 0) return true;
    const char* digits = p;
    while (*p >= '0' && *p <= '9')
        ++p;
    if (p == digits || *p != '.') return false;
    for (int i = 1; i <= 6; ++i) {
        if (p[i] < '0' || p[i] > '9') return false;
    }
    return p[7] == '\0';
}

// The text reads back to the value within half a unit of its sixth decimal.
bool ReadsBackTo(const char* answer, float value) {
    if (std::isnan(value)) return std::strstr(answer, "nan") != nullptr;
    const double shown = std::strtod(answer, nullptr);
    if (std::isinf(value)) return shown == static_cast<double>(value);
    const double slack = 5e-7 + std::fabs(static_cast<double>(value)) * 0x1p-52;
    return std::fabs(shown - static_cast<double>(value)) <= slack;
}

DisplayText Request(const std::string& expression, const RequestInput& input) {
    return EvaluationRequest(expression.c_str(), input.x.c_str(), input.y.c_str(), input.z.c_str());
}

DisplayText ExplainedRequest(const std::string& expression, const RequestInput& input,
                             FailureReport& report) {
    const EvaluationAnswer answer =
        AnswerRequest(expression.c_str(), input.x.c_str(), input.y.c_str(), input.z.c_str());
    report = answer.report;
    return answer.display;
}

bool ConcernsWholeText(FailureReason reason) {
    return reason == FailureReason::kEmptyExpression ||
           reason == FailureReason::kExpressionTooLong || reason == FailureReason::kNulByte;
}

bool ConcernsCall(FailureReason reason) {
    return reason == FailureReason::kMissingArguments || reason == FailureReason::kArgumentCount ||
           reason == FailureReason::kArrayFunction;
}

// Whether the C library's converter reads the whole text as UTF-8.
bool IsUtf8(const char* text) {
    static const iconv_t converter = iconv_open("UTF-32LE", "UTF-8");
    char* in = const_cast<char*>(text);
    std::size_t inLeft = std::strlen(text);
    char wide[4 * 1024];
    char* out = wide;
    std::size_t outLeft = sizeof wide;
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    return iconv(converter, &in, &inLeft, &out, &outLeft) != static_cast<std::size_t>(-1);
}

// The English reason reads the expression around the column: it is never empty, and at whatever
// capacity the input picks it is cut and terminated, never written past. Both languages' texts,
// whole or cut, are UTF-8.
void CheckExplanation(const RequestInput& input, const char* answer, const FailureReport& report) {
    char text[512];
    std::memset(text, '#', sizeof text);
    ExplainFailure(input.expression.c_str(), report, text, sizeof text - 1);
    Require(text[0] != '\0' && std::memchr(text, '\0', sizeof text - 1) != nullptr &&
                text[sizeof text - 1] == '#',
            "a failure has an English reason within its buffer", input, answer);
    Require(IsUtf8(text), "the English reason is UTF-8", input, answer);
    const std::size_t capacity = input.expression.size() % 48;
    std::memset(text, '#', sizeof text);
    ExplainFailure(input.expression.c_str(), report, text, capacity);
    for (std::size_t i = capacity; i < sizeof text; ++i)
        Require(text[i] == '#', "a cut English reason stays within its capacity", input, answer);
    if (capacity > 0) {
        Require(std::memchr(text, '\0', capacity) != nullptr, "a cut English reason is terminated",
                input, answer);
        Require(IsUtf8(text), "a cut English reason is UTF-8", input, answer);
    }
    FailureTooltipText(input.expression.c_str(), report, text, capacity > 0 ? capacity : 1);
    Require(IsUtf8(text), "a cut Chinese reason is UTF-8", input, answer);
    FailureTooltipText(input.expression.c_str(), report, text, sizeof text);
    Require(IsUtf8(text), "the Chinese reason is UTF-8", input, answer);
}

// Every failure has a reason, at a column inside the text or one past its end, or at 0 when it
// concerns the whole text; a call reason names its function, and the spans lie in the text; a
// success has no reason at all.
void CheckReport(const RequestInput& input, const char* answer, const FailureReport& report) {
    if (!IsErrorText(answer)) {
        Require(report.reason == FailureReason::kNone && report.column == 0 &&
                    report.function == nullptr,
                "a success has no reason", input, answer);
        return;
    }
    Require(report.reason != FailureReason::kNone && report.reason < FailureReason::kCount,
            "a failure has a reason", input, answer);
    const auto length = static_cast<std::int32_t>(input.expression.size());
    const bool wholeText = ConcernsWholeText(report.reason);
    Require(wholeText ? report.column == 0 : report.column >= 1 && report.column <= length + 1,
            "the column stands inside the text, or is 0 for the whole text", input, answer);
    Require(!ConcernsCall(report.reason) || report.function != nullptr,
            "a call reason names its function", input, answer);
    Require(report.token.begin <= report.token.end && report.token.end <= length &&
                report.opener < length,
            "the report's spans lie inside the text", input, answer);
    CheckExplanation(input, answer, report);
}

// Random draws make two evaluations differ, so such inputs get only the shape checks.
bool DrawsRandomNumbers(const RequestInput& input) {
    return input.expression.find("rand") != std::string::npos;
}

void CheckAnswerShape(const RequestInput& input, const char* answer) {
    Require(std::memchr(answer, '\0', kDisplayCapacity) != nullptr, "display text terminated",
            input, "(unterminated)");
    Require(IsErrorText(answer) || HasFixedShape(answer), "error text or fixed six-decimal text",
            input, answer);
    if (input.expression.size() > kLongestExpression) {
        Require(IsErrorText(answer), "over-long expression gives the error text", input, answer);
    }
}

void CheckAgainstValue(const RequestInput& input, const char* answer) {
    float value = 0.0f;
    const bool evaluated = EvaluateWithValues(input.expression.c_str(), input.x.c_str(),
                                              input.y.c_str(), input.z.c_str(), value);
    if (!evaluated) {
        Require(IsErrorText(answer), "failed evaluation gives the error text", input, answer);
        return;
    }
    char expected[kDisplayCapacity];
    std::snprintf(expected, sizeof expected, "%f", static_cast<double>(value));
    Require(std::strcmp(answer, expected) == 0, "answer is the %f text of the value", input,
            answer);
    Require(ReadsBackTo(answer, value), "answer reads back to the value", input, answer);
}

// Trailing spaces never change an answer, so padding probes the 1023-byte limit exactly.
void CheckLengthLimit(const RequestInput& input, const char* answer) {
    if (input.expression.size() > kLongestExpression) return;
    std::string padded = input.expression;
    padded.resize(kLongestExpression, ' ');
    Require(std::strcmp(Request(padded, input).text, answer) == 0,
            "padding to 1023 bytes keeps the answer", input, answer);
    padded.push_back(' ');
    Require(IsErrorText(Request(padded, input).text), "1024 bytes give the error text", input,
            answer);
}

// The deepest nesting when every closer matches the latest opener and none is left open, or -1.
int NestingDepth(const std::string& text) {
    static constexpr char kOpeners[] = "([{";
    static constexpr char kClosers[] = ")]}";
    std::string open;
    std::size_t deepest = 0;
    for (char c : text) {
        if (const char* opener = std::strchr(kOpeners, c); c != '\0' && opener) {
            open.push_back(c);
            deepest = std::max(deepest, open.size());
        } else if (const char* closer = std::strchr(kClosers, c); c != '\0' && closer) {
            if (open.empty() || open.back() != kOpeners[closer - kClosers]) return -1;
            open.pop_back();
        }
    }
    return open.empty() ? static_cast<int>(deepest) : -1;
}

// Enclosing a properly nested expression in any bracket pair, or passing it to the identity
// function, gives the same answer while the group fits its 255-byte copy and the nesting stays
// within 32 levels, and a failure keeps its reason at the same place, moved by the opening
// text. (An argument list may close early and go on after its bracket, so an expression that
// evaluates is not always properly nested.)
void CheckEnclosedAlike(const RequestInput& input, const char* answer,
                        const FailureReport& report) {
    const std::string& e = input.expression;
    if (e.size() > kLongestGroup) return;
    const int depth = NestingDepth(e);
    if (depth < 0 || depth >= kDeepestNesting) return;
    const char* const enclosings[][2] = {{"(", ")"}, {"[", "]"}, {"{", "}"}, {"positive(", ")"}};
    const auto& enclosing = enclosings[e.size() % std::size(enclosings)];
    FailureReport enclosedReport{};
    const DisplayText enclosed =
        ExplainedRequest(enclosing[0] + e + enclosing[1], input, enclosedReport);
    Require(std::strcmp(enclosed.text, answer) == 0, "an enclosed expression gives the same answer",
            input, answer);
    if (report.column == 0) return;
    const auto shift = static_cast<std::int32_t>(std::strlen(enclosing[0]));
    // Inside positive(...) a comma that separated nothing separates one argument too many.
    const bool commaInCall = enclosing[0][1] != '\0' &&
                             report.reason == FailureReason::kCommaOutsideCall &&
                             enclosedReport.reason == FailureReason::kOperatorExpected;
    Require(
        (enclosedReport.reason == report.reason || commaInCall) &&
            enclosedReport.column == report.column + shift,
        "an enclosed failure keeps its reason at its place in the whole text", input, answer);
}

// The C interface answers as the request does, and its exact text is cut, never overrun, at
// whatever capacity the input picks.
void CheckCInterface(const RequestInput& input, const char* answer, const FailureReport& report) {
    const char* expression = input.expression.c_str();
    char display[QUORVEL_DISPLAY_CAPACITY];
    const bool displayed =
        quorvel_display(expression, input.x.c_str(), input.y.c_str(), input.z.c_str(), display);
    Require(std::strcmp(display, answer) == 0, "quorvel_display gives the request's text", input,
            display);
    Require(displayed == !IsErrorText(answer), "quorvel_display tells whether it evaluated", input,
            display);

    const VariableValues values =
        ConvertValueTexts(input.x.c_str(), input.y.c_str(), input.z.c_str());
    float value = 1.0f;
    const bool evaluated = quorvel_evaluate(expression, values.x, values.y, values.z, &value);
    float expected = 1.0f;
    EvaluateWithValues(expression, values.x, values.y, values.z, expected);
    Require(evaluated == displayed && std::memcmp(&value, &expected, sizeof value) == 0,
            "quorvel_evaluate gives the request's value", input, answer);

    quorvel_failure failure;
    float explainedValue = 1.0f;
    const bool explained =
        quorvel_explain(expression, values.x, values.y, values.z, &explainedValue, &failure);
    Require(explained == evaluated && std::memcmp(&explainedValue, &value, sizeof value) == 0 &&
                failure.reason == static_cast<int>(report.reason) &&
                failure.column == report.column && (failure.text[0] == '\0') == explained,
            "quorvel_explain reports as the request does", input, failure.text);

    char exact[kExactTextCapacity + 8];
    std::memset(exact, '#', sizeof exact);
    const std::size_t capacity = input.expression.size() % (kExactTextCapacity + 1);
    const std::size_t length = quorvel_exact_text(value, exact, capacity);
    for (std::size_t i = capacity; i < sizeof exact; ++i)
        Require(exact[i] == '#', "quorvel_exact_text writes within its capacity", input, answer);
    if (capacity == 0) return;
    Require(std::strlen(exact) == std::min(length, capacity - 1),
            "quorvel_exact_text keeps what fits and terminates it", input, exact);
    if (length < capacity && !std::isnan(value)) {
        const float read = std::strtof(exact, nullptr);
        Require(std::memcmp(&read, &value, sizeof read) == 0,
                "quorvel_exact_text reads back as the value", input, exact);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const RequestInput input = SplitInput(data, size);
    const DisplayText first = Request(input.expression, input);
    CheckAnswerShape(input, first.text);
    FailureReport report{};
    const DisplayText explained = ExplainedRequest(input.expression, input, report);
    CheckReport(input, explained.text, report);
    if (DrawsRandomNumbers(input)) return 0;

    Require(std::strcmp(explained.text, first.text) == 0, "asking for the reason keeps the answer",
            input, explained.text);
    CheckAgainstValue(input, first.text);
    Require(std::strcmp(Request(input.expression, input).text, first.text) == 0,
            "the same input gives the same answer", input, first.text);
    CheckLengthLimit(input, first.text);
    CheckEnclosedAlike(input, first.text, report);
    CheckCInterface(input, first.text, report);
    return 0;
}
