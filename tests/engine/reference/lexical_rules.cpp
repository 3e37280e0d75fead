#include "tests/engine/reference/lexical_rules.h"

namespace reference {

bool ReadToken(const char* text, std::int32_t& cursor, char (&token)[kTokenCapacity]) {
    SkipSpaces(text, cursor);
    int stored = 0;
    while (stored < kTokenCapacity - 1 && !IsDelimiter(text[cursor])) {
        token[stored++] = text[cursor++];
    }
    token[stored] = '\0';
    return stored > 0;
}

}  // namespace reference
