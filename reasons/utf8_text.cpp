#include "reasons/utf8_text.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The lead byte's sequence length and the smallest code point it may carry (overlong forms are
// ill-formed); 0 for a byte that leads nothing.
struct Lead {
    int length;
    char32_t least;
};

constexpr Lead LeadOf(unsigned char byte) {
    if (byte < 0x80) return {1, 0};
    if (byte < 0xC2) return {0, 0};
    if (byte < 0xE0) return {2, 0x80};
    if (byte < 0xF0) return {3, 0x800};
    if (byte < 0xF5) return {4, 0x10000};
    return {0, 0};
}

}  // namespace

int Utf8CharacterAt(const char* text, std::size_t limit, char32_t& codePoint) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const Lead lead = LeadOf(bytes[0]);
    if (lead.length == 0 || static_cast<std::size_t>(lead.length) > limit) return 0;
    char32_t value = bytes[0] & (0x7Fu >> lead.length);
    for (int i = 1; i < lead.length; ++i) {
        if (!IsContinuation(bytes[i])) return 0;
        value = value << 6 | (bytes[i] & 0x3Fu);
    }
    const bool surrogate = value >= 0xD800 && value <= 0xDFFF;
    if (value < lead.least || surrogate || value > 0x10FFFF) return 0;
    codePoint = value;
    return lead.length;
}

std::int32_t CharacterColumn(const char* text, std::int32_t byteColumn) {
    if (byteColumn <= 0) return byteColumn;
    const auto before = static_cast<std::size_t>(byteColumn - 1);
    const std::size_t length = strnlen(text, before);
    std::int32_t characters = 0;
    std::size_t at = 0;
    while (at < length) {
        char32_t ignored = 0;
        const int taken = Utf8CharacterAt(text + at, length - at, ignored);
        at += taken > 0 ? static_cast<std::size_t>(taken) : 1;
        ++characters;
    }
    // A column past the text's end counts one character per byte, as the end does.
    return characters + 1 + static_cast<std::int32_t>(before - length);
}

void AppendText(TextBuffer& buffer, const char* piece, std::size_t length) {
    std::size_t room = buffer.capacity - 1 - buffer.length;
    if (length > room) {
        // Back up to the start of the character that would be cut.
        while (room > 0 && IsContinuation(static_cast<unsigned char>(piece[room])))
            --room;
        length = room;
    }
    std::memcpy(buffer.text + buffer.length, piece, length);
    buffer.length += length;
    buffer.text[buffer.length] = '\0';
}

void AppendText(TextBuffer& buffer, const char* piece) {
    AppendText(buffer, piece, std::strlen(piece));
}

void AppendQuoted(TextBuffer& buffer, const char* bytes, std::size_t length) {
    std::size_t at = 0;
    while (at < length) {
        const auto byte = static_cast<unsigned char>(bytes[at]);
        char32_t ignored = 0;
        const int taken = Utf8CharacterAt(bytes + at, length - at, ignored);
        if (taken > 0 && byte >= 0x20 && byte != 0x7F) {
            AppendText(buffer, bytes + at, static_cast<std::size_t>(taken));
            at += static_cast<std::size_t>(taken);
            continue;
        }
        char escape[5];
        if (byte == '\t') {
            std::memcpy(escape, "\\t", 3);
        } else {
            std::snprintf(escape, sizeof escape, "\\x%02X", byte);
        }
        AppendText(buffer, escape);
        ++at;
    }
}
