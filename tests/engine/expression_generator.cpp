#include "tests/engine/expression_generator.h"

#include <cstdio>
#include <iterator>

namespace {

const char* const kCallable[] = {
    "positive", "negative", "abs",      "floor", "ceil",     "sign",   "sqrt",     "exp",
    "log",      "log2",     "log10",    "sin",   "cos",      "tan",    "asin",     "acos",
    "atan",     "rand",     "add",      "sub",   "multiply", "divide", "max",      "min",
    "mod",      "pow",      "atan2",    "rand2", "lerp",     "clamp",  "gray",     "add3",
    "min3",     "max3",     "average3", "add4",  "min4",     "max4",   "average4",
};
const int kArity[] = {1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 1, 2, 2,
                      2, 2, 2, 2, 2, 2, 2, 2, 3, 3, 3, 3, 3, 3, 3, 4, 4, 4, 4};
static_assert(std::size(kCallable) == std::size(kArity));

// Names that are no callable function: array functions, wrong case, near misses, constants.
const char* const kOtherNames[] = {
    "array_add",
    "array_cumulate",
    "array_move_left",
    "SIN",
    "Max",
    "pi",
    "Pi",
    "PI",
    "E",
    "e",
    "foo",
    "x1",
    "_",
    "A",
    "Q",
    "sin2",
    "PIE",
    "sqrt\t",
    "\xC3\xA9",
    ".",
    ".5",
    "a.b",
    "max_",
    "\x80",
};

const char* const kNumbers[] = {
    "0",          "00",         "08",         "09.5",       "0x",         "0X1f",
    "0y",         "0Y101",      "0x1e",       "1.",         "1.2.3",      "16777217",
    "2147483647", "2147483648", "4294967296", "0xFFFFFFFF", "0x80000000", "037777777777",
    "1e3",        "12abc",      "1_000",      "0xg",        "0y102",      "99999999999999999999",
    "0.1",        "3.4e38",     "1.0e-45",
};

constexpr char kTokenBytes[] = "abcxyzEP019._;!&|#\t\x80\xFF";
constexpr char kEditBytes[] = "()[]{},+-*/%^ :=<>0123456789.eExyzaPI_\t\x80";

}  // namespace

std::uint64_t ExpressionGenerator::Below(std::uint64_t bound) {
    // splitmix64: fast, and every seed gives a long, well-mixed sequence.
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    z ^= z >> 31;
    return bound == 0 ? 0 : z % bound;
}

char ExpressionGenerator::Pick(const char* characters) {
    std::uint64_t count = 0;
    while (characters[count] != '\0')
        ++count;
    return characters[Below(count)];
}

std::string ExpressionGenerator::Next() {
    std::string text;
    if (Percent(4)) {
        text = AtALimit();
    } else {
        if (Percent(20)) text += Pick("+-");
        Expression(text, 0);
    }
    if (Percent(10)) Edit(text);
    return text;
}

void ExpressionGenerator::Expression(std::string& out, int depth) {
    const std::uint64_t operands = 1 + Below(depth == 0 ? 4 : 2);
    for (std::uint64_t i = 0; i < operands; ++i) {
        if (i > 0) Operator(out);
        Spaces(out);
        Operand(out, depth);
        Spaces(out);
    }
}

void ExpressionGenerator::Operator(std::string& out) {
    if (Percent(98)) {
        out += Pick("+-*/%^");
        if (Percent(2)) out += Pick("+-");
    } else if (Percent(70)) {
        out += Pick(":=<>,");
    }
}

void ExpressionGenerator::Spaces(std::string& out) {
    if (Percent(15)) out.append(1 + Below(3), ' ');
}

void ExpressionGenerator::Operand(std::string& out, int depth) {
    const std::uint64_t kind = Below(100);
    if (kind < 30) {
        Number(out);
    } else if (kind < 45) {
        out += static_cast<char>('a' + Below(26));
    } else if (kind < 49) {
        Name(out);
    } else if (kind < 76 && depth < 4) {
        Call(out, depth);
    } else if (kind < 92 && depth < 4) {
        Group(out, depth);
    } else {
        Scientific(out);
    }
}

void ExpressionGenerator::Group(std::string& out, int depth) {
    const std::uint64_t kind = Below(3);
    out += "([{"[kind];
    if (!Percent(2)) {
        if (Percent(10)) out += Pick("+-");
        Expression(out, depth + 1);
    }
    if (Percent(2)) return;  // never closed
    out += Percent(97) ? ")]}"[kind] : Pick(")]}");
}

void ExpressionGenerator::Call(std::string& out, int depth) {
    int arity = 1 + static_cast<int>(Below(4));
    if (Percent(93)) {
        // rand and rand2 often, so that the order of draws is compared too.
        const std::uint64_t row =
            Percent(15) ? (Percent(50) ? 17 : 27) : Below(std::size(kCallable));
        out += kCallable[row];
        arity = kArity[row];
    } else {
        out += kOtherNames[Below(std::size(kOtherNames))];
    }
    if (Percent(6)) arity += Percent(50) ? 1 : -1;
    Spaces(out);
    if (Percent(2)) return;  // no bracket after the name
    const std::uint64_t kind = Below(3);
    out += "([{"[kind];
    for (int i = 0; i < arity; ++i) {
        if (i > 0) out += ',';
        if (Percent(97)) Expression(out, depth + 1);
    }
    if (Percent(2)) return;
    out += Percent(97) ? ")]}"[kind] : Pick(")]}");
}

void ExpressionGenerator::Digits(std::string& out, const char* alphabet, std::uint64_t count) {
    for (std::uint64_t i = 0; i < count; ++i)
        out += Pick(alphabet);
}

void ExpressionGenerator::Number(std::string& out) {
    switch (Below(8)) {
        case 0:
            out += kNumbers[Below(std::size(kNumbers))];
            return;
        case 1:
            out += '0';
            out += Pick("xXyY");
            Digits(out, out.back() == 'x' || out.back() == 'X' ? "0123456789abcdefABCDEF" : "01",
                   Percent(5) ? 55 + Below(12) : Below(12));
            return;
        case 2:
            out += '0';
            Digits(out, Percent(10) ? "0123456789" : "01234567", Below(14));
            return;
        case 3:
        case 4:
            out += static_cast<char>('1' + Below(9));
            Digits(out, "0123456789", Percent(5) ? 55 + Below(12) : Below(10));
            return;
        default:
            Digits(out, "0123456789", 1 + Below(Percent(5) ? 64 : 6));
            out += '.';
            Digits(out, "0123456789", Percent(5) ? 55 + Below(10) : Below(8));
            if (Percent(2)) out += '.';
            return;
    }
}

void ExpressionGenerator::Scientific(std::string& out) {
    Digits(out, "0123456789", 1 + Below(Percent(5) ? 64 : 4));
    if (!Percent(5)) out += '.';
    Digits(out, "0123456789", Below(Percent(5) ? 64 : 6));
    if (Percent(3)) out += ' ';
    out += Pick("eE");
    if (Percent(60)) out += Pick("+-");
    if (Percent(3)) out += Pick("+-");
    switch (Below(10)) {
        case 0:
            Digits(out, "0123456789", 55 + Below(15));
            break;
        case 1:
            out += Percent(50) ? "84" : Percent(50) ? "2147483648" : "99999999999";
            break;
        default:
            Digits(out, "0123456789", Below(4));
    }
    if (Percent(3)) out += Pick("x.5_\t");
}

void ExpressionGenerator::Name(std::string& out) {
    if (Percent(85)) {
        out += kOtherNames[Below(std::size(kOtherNames))];
    } else {
        Digits(out, kTokenBytes, Percent(50) ? 58 + Below(10) : 1 + Below(8));
    }
}

// Texts right at the fixed limits, and one past them.
std::string ExpressionGenerator::AtALimit() {
    std::string text;
    const std::uint64_t around = Below(5);  // 0..4 around each limit
    switch (Below(5)) {
        case 0: {  // a group text of 253 to 257 characters
            const char* opener = Percent(50) ? "(" : "max(";
            text = opener;
            std::string inner = "1";
            while (inner.size() + 2 <= 253 + around)
                inner += Percent(90) ? "+1" : "*x";
            inner.append(253 + around - inner.size(), ' ');
            text += inner;
            text += Percent(50) && text[0] == 'm' ? ",2)" : ")";
            return text;
        }
        case 1: {  // 29 to 33 nested brackets of any kinds, maybe inside a call
            const int depth = 29 + static_cast<int>(around);
            if (Percent(50)) text = "abs";
            std::string closers;
            for (int i = 0; i < depth; ++i) {
                const std::uint64_t kind = Below(3);
                text += "([{"[kind];
                closers += ")]}"[kind];
            }
            text += Percent(50) ? "-5" : "max(1,2)";
            text.append(closers.rbegin(), closers.rend());
            return text;
        }
        case 2:  // tokens of 61 to 65 characters
            text = Percent(50) ? "x+" : "";
            Digits(text, Percent(50) ? "0123456789" : "abcdefg", 61 + around);
            if (Percent(30)) text[text.size() - 30] = '.';
            return text;
        case 3: {  // a whole expression of about 1023 bytes
            while (text.size() < 1019 + around) {
                if (!text.empty()) text += Pick("+-*");
                Operand(text, 4);
            }
            return text;
        }
        default: {  // groups and calls nested through long texts
            for (int i = 0; i < 12; ++i) {
                text += Percent(50) ? "(" : "abs(";
            }
            Expression(text, 5);
            text.append(12, ')');
            return text;
        }
    }
}

void ExpressionGenerator::Edit(std::string& text) {
    const std::uint64_t edits = 1 + Below(3);
    for (std::uint64_t i = 0; i < edits; ++i) {
        const std::uint64_t at = Below(text.size() + 1);
        switch (Below(3)) {
            case 0:
                if (at < text.size()) text.erase(at, 1);
                break;
            case 1:
                text.insert(at, 1, Pick(kEditBytes));
                break;
            default:
                if (at < text.size()) text[at] = Pick(kEditBytes);
        }
    }
}

std::string Escaped(const std::string& text) {
    std::string escaped;
    for (unsigned char c : text) {
        if (c >= 0x20 && c < 0x7F) {
            escaped += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            escaped += hex;
        }
    }
    return escaped;
}
