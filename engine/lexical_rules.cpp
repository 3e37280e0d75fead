#include "engine/lexical_rules.h"

#include <cstring>

bool ReadToken(const char* text, std::int32_t& cursor, char (&token)[kTokenCapacity]) {
    SkipSpaces(text, cursor);
    const std::int32_t length = TokenLength(text + cursor);
    std::memcpy(token, text + cursor, static_cast<std::size_t>(length));
    token[length] = '\0';
    cursor += length;
    return length > 0;
}
