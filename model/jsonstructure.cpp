#include "model/jsonstructure.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

// The scans compare every byte of the text. Under the fuzzer's coverage
// tracing each of those comparisons is a call, which made a scan cost more
// than the JSON parse of the same bytes; the byte loops are left out of the
// tracing (the work they hand on, per name, is traced).
#if defined(__clang__)
#define ZENTRIK_UNTRACED __attribute__((no_sanitize("coverage")))
#else
#define ZENTRIK_UNTRACED
#endif

// What a byte means to the scans; most bytes mean nothing, and one look-up
// per byte keeps the scan of a large file short.
enum class JsonByte : uint8_t { Other, Quote, OpenObject, OpenArray, Close, Colon, Comma };

constexpr std::array<JsonByte, 256> kJsonBytes = [] {
    std::array<JsonByte, 256> table{};
    table[uint8_t('"')] = JsonByte::Quote;
    table[uint8_t('{')] = JsonByte::OpenObject;
    table[uint8_t('[')] = JsonByte::OpenArray;
    table[uint8_t(']')] = table[uint8_t('}')] = JsonByte::Close;
    table[uint8_t(':')] = JsonByte::Colon;
    table[uint8_t(',')] = JsonByte::Comma;
    return table;
}();

// The end of the string whose text starts at `text`: its closing quote, or
// `end`. A quote closes it unless an odd run of backslashes comes before it;
// memchr finds the quotes, which in long strings is most of the scan's time.
ZENTRIK_UNTRACED const char *stringEnd(const char *text, const char *end)
{
    const char *p = text;
    while (p < end) {
        const char *quote = static_cast<const char *>(std::memchr(p, '"', std::size_t(end - p)));
        if (!quote)
            return end;
        const char *run = quote;
        while (run > text && run[-1] == '\\')
            --run;
        if ((quote - run) % 2 == 0)
            return quote;
        p = quote + 1;
    }
    return end;
}

int hexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The four hex digits at `p` of a \u escape; false when there are not four.
bool readEscapeUnit(const char *p, const char *end, uint32_t &unit)
{
    if (end - p < 4)
        return false;
    unit = 0;
    for (int i = 0; i < 4; ++i) {
        const int digit = hexDigit(p[i]);
        if (digit < 0)
            return false;
        unit = unit << 4 | uint32_t(digit);
    }
    return true;
}

// A code point as UTF-8. A lone surrogate keeps its own three bytes, which no
// valid UTF-8 text holds, so a name with one equals only the same escape.
void appendUtf8(std::string &out, uint32_t point)
{
    if (point < 0x80) {
        out += char(point);
    } else if (point < 0x800) {
        out += char(0xC0 | point >> 6);
        out += char(0x80 | (point & 0x3F));
    } else if (point < 0x10000) {
        out += char(0xE0 | point >> 12);
        out += char(0x80 | (point >> 6 & 0x3F));
        out += char(0x80 | (point & 0x3F));
    } else {
        out += char(0xF0 | point >> 18);
        out += char(0x80 | (point >> 12 & 0x3F));
        out += char(0x80 | (point >> 6 & 0x3F));
        out += char(0x80 | (point & 0x3F));
    }
}

// The name written between `begin` and `end` as UTF-8 with its escapes
// decoded, so that "\u00e9" and "é" are one name, as they are to the parser.
std::string decodedName(const char *begin, const char *end)
{
    std::string name;
    for (const char *p = begin; p < end; ++p) {
        if (*p != '\\' || p + 1 == end) {
            name += *p;
            continue;
        }
        const char escape = *++p;
        uint32_t unit = 0;
        switch (escape) {
        case 'b': name += '\b'; break;
        case 'f': name += '\f'; break;
        case 'n': name += '\n'; break;
        case 'r': name += '\r'; break;
        case 't': name += '\t'; break;
        case 'u':
            if (!readEscapeUnit(p + 1, end, unit)) {
                name += "\\u"; // not JSON; the parser refuses it
                break;
            }
            p += 4;
            uint32_t low;
            if (unit >= 0xD800 && unit < 0xDC00 && end - p > 2 && p[1] == '\\' && p[2] == 'u'
                && readEscapeUnit(p + 3, end, low) && low >= 0xDC00 && low < 0xE000) {
                unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                p += 6;
            }
            appendUtf8(name, unit);
            break;
        default: // \" \\ \/, and what the parser refuses
            name += escape;
        }
    }
    return name;
}

// A name given twice among `names` from `first` on (sorted in place).
std::optional<QString> repeatedAmong(std::vector<std::string> &names, std::size_t first)
{
    const auto begin = names.begin() + std::ptrdiff_t(first);
    std::sort(begin, names.end());
    const auto repeated = std::adjacent_find(begin, names.end());
    if (repeated == names.end())
        return std::nullopt;
    return QString::fromStdString(*repeated);
}

// An array or object not yet closed.
struct OpenValue {
    bool object = false;
    bool nameNext = false;      // the next string is a member's name
    std::size_t firstName = 0;  // its names in the list of names
};

} // namespace

ZENTRIK_UNTRACED int jsonNestingDepth(const QByteArray &json, int limit)
{
    int depth = 0;
    int deepest = 0;
    const char *p = json.constData();
    const char *const end = p + json.size();
    while (p < end) {
        const JsonByte kind = kJsonBytes[uint8_t(*p++)];
        if (kind == JsonByte::Quote) {
            p = std::min(stringEnd(p, end) + 1, end);
        } else if (kind == JsonByte::OpenObject || kind == JsonByte::OpenArray) {
            deepest = std::max(deepest, ++depth);
            if (deepest > limit)
                break;
        } else if (kind == JsonByte::Close) {
            --depth;
        }
    }
    return deepest;
}

ZENTRIK_UNTRACED std::optional<QString> repeatedMemberName(const QByteArray &json)
{
    std::vector<OpenValue> open;
    std::vector<std::string> names; // of the open objects, innermost last
    const char *p = json.constData();
    const char *const end = p + json.size();
    while (p < end) {
        switch (kJsonBytes[uint8_t(*p++)]) {
        case JsonByte::Quote: {
            const char *const close = stringEnd(p, end);
            if (!open.empty() && open.back().nameNext) {
                names.push_back(decodedName(p, close));
                open.back().nameNext = false;
            }
            p = std::min(close + 1, end);
            break;
        }
        case JsonByte::OpenObject:
            open.push_back(OpenValue{true, true, names.size()});
            break;
        case JsonByte::OpenArray:
            open.push_back(OpenValue{false, false, names.size()});
            break;
        case JsonByte::Comma:
            if (!open.empty())
                open.back().nameNext = open.back().object;
            break;
        case JsonByte::Colon:
            if (!open.empty())
                open.back().nameNext = false;
            break;
        case JsonByte::Close:
            if (open.empty())
                break;
            if (std::optional<QString> repeated = repeatedAmong(names, open.back().firstName))
                return repeated;
            names.resize(open.back().firstName);
            open.pop_back();
            break;
        case JsonByte::Other:
            break;
        }
    }
    return std::nullopt;
}
