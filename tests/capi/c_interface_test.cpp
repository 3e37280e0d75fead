// The C interface as a program sees it: through the installed header and the shared library.
#include <quorvel/quorvel.h>

#include <gtest/gtest.h>
#include <sys/mman.h>
#include <unistd.h>

#include <bit>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>

namespace {

constexpr char kErrorText[] = "Quorvel解析错误!";

std::uint32_t Bits(float value) {
    return std::bit_cast<std::uint32_t>(value);
}

struct ValueRow {
    const char* expression;
    float x, y, z;
    bool evaluates;
    float value;
};

const ValueRow kValueRows[] = {
    {"lerp(x, y, z)", 2.0f, 4.0f, 0.25f, true, 2.5f},
    {"x*2", 1.5f, 0.0f, 0.0f, true, 3.0f},
    {"x+y+z", 1.0f, 2.0f, 3.0f, true, 6.0f},
    {"a+w", 1.0f, 2.0f, 3.0f, true, 0.0f},
    {"2^24+1", 0.0f, 0.0f, 0.0f, true, 16777216.0f},
    {"2*PI", 0.0f, 0.0f, 0.0f, true, 6.28318548f},
    {"1/0", 0.0f, 0.0f, 0.0f, true, std::numeric_limits<float>::max()},
    {"-x", 0.0f, 0.0f, 0.0f, true, -0.0f},
    {"clamp(x, y, z)", 7.0f, 5.0f, 0.0f, true, 5.0f},
    {"x", std::numeric_limits<float>::infinity(), 0.0f, 0.0f, true,
     std::numeric_limits<float>::infinity()},
    {"1+", 1.0f, 2.0f, 3.0f, false, 0.0f},
    {"", 0.0f, 0.0f, 0.0f, false, 0.0f},
    {"x*foo", 1.0f, 0.0f, 0.0f, false, 0.0f},
    {"array_add(1)", 0.0f, 0.0f, 0.0f, false, 0.0f},
};

TEST(QuorvelEvaluate, ValuesAndFailures) {
    for (const ValueRow& row : kValueRows) {
        float value = 99.0f;
        EXPECT_EQ(quorvel_evaluate(row.expression, row.x, row.y, row.z, &value), row.evaluates)
            << row.expression;
        EXPECT_EQ(Bits(value), Bits(row.value)) << row.expression << " gave " << value;
    }
}

struct DisplayRow {
    const char* expression;
    const char* x;
    const char* y;
    const char* z;
    bool evaluates;
    const char* display;
};

const DisplayRow kDisplayRows[] = {
    {"1+2", "0.0", "0.0", "0.0", true, "3.000000"},
    {"lerp(x, y, z)", "2", "4", "0.25", true, "2.500000"},
    {"1/3", "0.0", "0.0", "0.0", true, "0.333333"},
    {"-1/3000000", "0.0", "0.0", "0.0", true, "-0.000000"},
    {"x", "2.5kg", "0", "0", true, "2.500000"},
    {"x", "1,5", "0", "0", true, "1.000000"},
    {"x", "abc", "0", "0", true, "0.000000"},
    {"x+y+z", nullptr, nullptr, "3", true, "3.000000"},
    {"1/0", "0", "0", "0", true, "340282346638528859811704183484516925440.000000"},
    {"1+", "0", "0", "0", false, kErrorText},
    {"x*foo", "1", "0", "0", false, kErrorText},
    {nullptr, "1", "0", "0", false, kErrorText},
};

TEST(QuorvelDisplay, TextsAsTheWindowShowsThem) {
    for (const DisplayRow& row : kDisplayRows) {
        const char* label = row.expression ? row.expression : "(null)";
        char display[QUORVEL_DISPLAY_CAPACITY];
        std::memset(display, '#', sizeof display);
        EXPECT_EQ(quorvel_display(row.expression, row.x, row.y, row.z, display), row.evaluates)
            << label;
        EXPECT_STREQ(display, row.display) << label;
    }
}

// 1023 bytes fit the expression buffer with their NUL; one more byte is refused, whatever it is.
TEST(QuorvelInterface, ExpressionLengthBoundary) {
    struct LengthRow {
        std::size_t length;
        bool evaluates;
    };
    for (const LengthRow row :
         {LengthRow{1022, true}, {1023, true}, {1024, false}, {5000, false}}) {
        std::string expression(row.length, ' ');
        expression.front() = 'x';
        float value = 99.0f;
        EXPECT_EQ(quorvel_evaluate(expression.c_str(), 4.0f, 0.0f, 0.0f, &value), row.evaluates)
            << row.length;
        EXPECT_EQ(value, row.evaluates ? 4.0f : 0.0f) << row.length;
        char display[QUORVEL_DISPLAY_CAPACITY];
        EXPECT_EQ(quorvel_display(expression.c_str(), "4", "0", "0", display), row.evaluates)
            << row.length;
        EXPECT_STREQ(display, row.evaluates ? "4.000000" : kErrorText) << row.length;
    }
}

TEST(QuorvelInterface, NullPointersFailWithoutTouchingAnything) {
    float value = 99.0f;
    EXPECT_FALSE(quorvel_evaluate(nullptr, 1.0f, 2.0f, 3.0f, &value));
    EXPECT_EQ(value, 99.0f);
    EXPECT_FALSE(quorvel_evaluate("1+2", 1.0f, 2.0f, 3.0f, nullptr));
    EXPECT_FALSE(quorvel_display("1+2", "0", "0", "0", nullptr));
    EXPECT_EQ(quorvel_exact_text(0.1f, nullptr, 32), 3u);
    EXPECT_EQ(quorvel_exact_text(0.1f, nullptr, 0), 3u);
}

// Like snprintf: the whole length comes back, at most capacity bytes are written, the last a NUL.
TEST(QuorvelExactText, SmallCapacitiesCutAndNeverOverrun) {
    struct ExactRow {
        float value;
        const char* text;
    };
    const ExactRow rows[] = {
        {0.1f, "0.1"},
        {1.0f / 3.0f, "0.33333334"},
        {-0.0f, "-0"},
        {std::numeric_limits<float>::denorm_min(), "1e-45"},
        {-std::numeric_limits<float>::max(), "-3.4028235e+38"},
        {-std::numeric_limits<float>::infinity(), "-inf"},
    };
    for (const ExactRow& row : rows) {
        const std::string whole = row.text;
        for (std::size_t capacity = 0; capacity <= whole.size() + 2; ++capacity) {
            char buffer[40];
            std::memset(buffer, '#', sizeof buffer);
            EXPECT_EQ(quorvel_exact_text(row.value, buffer, capacity), whole.size())
                << row.text << " in " << capacity;
            const std::size_t kept = capacity == 0 ? 0 : std::min(capacity - 1, whole.size());
            if (capacity > 0) {
                EXPECT_EQ(std::string(buffer), whole.substr(0, kept)) << capacity;
            }
            for (std::size_t i = capacity; i < sizeof buffer; ++i)
                ASSERT_EQ(buffer[i], '#') << row.text << " wrote byte " << i << " of " << capacity;
        }
    }
}

TEST(QuorvelExplain, TellsTheReasonColumnAndEnglishText) {
    struct ExplainRow {
        const char* expression;
        bool evaluates;
        float value;
        int reason;
        int column;
        const char* text;
    };
    const ExplainRow rows[] = {
        {"x*2", true, 3.0f, QUORVEL_REASON_NONE, 0, ""},
        {"pi+x", false, 0.0f, QUORVEL_REASON_UNKNOWN_NAME, 1, "unknown name; did you mean PI"},
        {"x+1e3", false, 0.0f, QUORVEL_REASON_SCIENTIFIC_WITHOUT_POINT, 3,
         "a scientific number needs a point: write 1.0e3"},
        {"max(1, 2*-3)", false, 0.0f, QUORVEL_REASON_MISPLACED_SIGN, 10,
         "a sign is allowed only at the start; put the operand in brackets, as 2*(-3)"},
        {"rand2(1)", false, 0.0f, QUORVEL_REASON_ARGUMENT_COUNT, 8,
         "too few arguments: rand2 takes 2 arguments"},
        {"  ", false, 0.0f, QUORVEL_REASON_EMPTY, 0, "the expression is empty"},
    };
    for (const ExplainRow& row : rows) {
        float value = 99.0f;
        quorvel_failure failure;
        EXPECT_EQ(quorvel_explain(row.expression, 1.5f, 0.0f, 0.0f, &value, &failure),
                  row.evaluates)
            << row.expression;
        EXPECT_EQ(value, row.value) << row.expression;
        EXPECT_EQ(failure.reason, row.reason) << row.expression;
        EXPECT_EQ(failure.column, row.column) << row.expression;
        EXPECT_STREQ(failure.text, row.text) << row.expression;
    }
    const std::string tooLong(1024, '1');
    float value = 99.0f;
    quorvel_failure failure;
    EXPECT_FALSE(quorvel_explain(tooLong.c_str(), 0.0f, 0.0f, 0.0f, &value, &failure));
    EXPECT_EQ(failure.reason, QUORVEL_REASON_TOO_LONG);
    EXPECT_EQ(failure.column, 0);

    failure.reason = -1;
    EXPECT_FALSE(quorvel_explain(nullptr, 0.0f, 0.0f, 0.0f, &value, &failure));
    EXPECT_FALSE(quorvel_explain("1", 0.0f, 0.0f, 0.0f, nullptr, &failure));
    EXPECT_FALSE(quorvel_explain("1", 0.0f, 0.0f, 0.0f, &value, nullptr));
    EXPECT_EQ(failure.reason, -1);
    EXPECT_EQ(value, 0.0f);
}

TEST(QuorvelInterface, VersionIsTheProjectVersion) {
    EXPECT_STREQ(quorvel_version(), QUORVEL_EXPECTED_VERSION);
}

// Bytes placed so that the last one is followed by a page that faults when read.
class BytesBeforeGuardPage {
  public:
    explicit BytesBeforeGuardPage(const std::string& bytes)
        : page_(static_cast<std::size_t>(sysconf(_SC_PAGESIZE))) {
        void* pages =
            mmap(nullptr, 2 * page_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
        base_ = pages == MAP_FAILED ? nullptr : static_cast<char*>(pages);
        if (base_ == nullptr || mprotect(base_ + page_, page_, PROT_NONE) != 0) return;
        text_ = base_ + page_ - bytes.size();
        std::memcpy(text_, bytes.data(), bytes.size());
    }
    ~BytesBeforeGuardPage() {
        if (base_ != nullptr) munmap(base_, 2 * page_);
    }
    const char* text() const { return text_; }

  private:
    std::size_t page_;
    char* base_ = nullptr;
    char* text_ = nullptr;
};

// Each function that takes an expression, returning whether it evaluated.
bool EvaluateAt(const char* expression) {
    float value = 0.0f;
    return quorvel_evaluate(expression, 1.0f, 0.0f, 0.0f, &value);
}
bool DisplayAt(const char* expression) {
    char display[QUORVEL_DISPLAY_CAPACITY];
    return quorvel_display(expression, "1", "0", "0", display);
}
bool ExplainAt(const char* expression) {
    float value = 0.0f;
    quorvel_failure failure;
    const bool evaluated = quorvel_explain(expression, 1.0f, 0.0f, 0.0f, &value, &failure);
    EXPECT_EQ(failure.reason, evaluated ? QUORVEL_REASON_NONE : QUORVEL_REASON_TOO_LONG);
    return evaluated;
}

bool PrepareAt(const char* expression) {
    quorvel_failure failure;
    quorvel_program* program = quorvel_prepare(expression, &failure);
    quorvel_release(program);
    return program != nullptr;
}

// An expression of 1,024 bytes or more needs no NUL: nothing past its first 1,024 bytes is read,
// so a text that ends at a guard page fails as too long instead of faulting.
TEST(QuorvelInterface, ReadsNoFurtherThan1024BytesOfAnExpression) {
    const struct {
        const char* name;
        bool (*call)(const char*);
    } functions[] = {{"evaluate", EvaluateAt},
                     {"display", DisplayAt},
                     {"explain", ExplainAt},
                     {"prepare", PrepareAt}};
    const struct {
        std::string bytes;
        bool evaluates;
    } texts[] = {
        {std::string(1022, ' ') + 'x' + '\0', true},
        {std::string(1024, '1'), false},
        {"x+" + std::string(1022, ' '), false},
        {std::string(1024, '('), false},
    };
    for (const auto& function : functions) {
        for (const auto& text : texts) {
            const BytesBeforeGuardPage guarded(text.bytes);
            ASSERT_NE(guarded.text(), nullptr);
            EXPECT_EQ(function.call(guarded.text()), text.evaluates)
                << function.name << " " << text.bytes.size();
        }
    }
}

}  // namespace
