#include "cli/JsonEventReader.h"

#include <cstring>

namespace {

constexpr std::size_t kBlock = 64 * 1024;

void appendUtf8(std::string &out, unsigned code)
{
    if (code < 0x80) {
        out += char(code);
    } else if (code < 0x800) {
        out += char(0xC0 | (code >> 6));
        out += char(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += char(0xE0 | (code >> 12));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    } else {
        out += char(0xF0 | (code >> 18));
        out += char(0x80 | ((code >> 12) & 0x3F));
        out += char(0x80 | ((code >> 6) & 0x3F));
        out += char(0x80 | (code & 0x3F));
    }
}

bool isDigit(int c)
{
    return c >= '0' && c <= '9';
}

} // namespace

JsonEventReader::JsonEventReader(std::FILE *input)
    : m_input(input)
    , m_buffer(kBlock)
{
}

bool JsonEventReader::fill()
{
    if (m_eof)
        return false;
    m_end = std::fread(m_buffer.data(), 1, m_buffer.size(), m_input);
    m_next = 0;
    m_eof = m_end == 0;
    return !m_eof;
}

int JsonEventReader::peek()
{
    if (m_next == m_end && !fill())
        return EOF;
    return static_cast<unsigned char>(m_buffer[m_next]);
}

int JsonEventReader::take()
{
    const int c = peek();
    if (c != EOF)
        ++m_next;
    return c;
}

void JsonEventReader::skipSpace()
{
    for (int c = peek(); c == ' ' || c == '\t' || c == '\n' || c == '\r'; c = peek())
        ++m_next;
}

JsonEventReader::Event JsonEventReader::fail()
{
    m_failed = true;
    return Event::Error;
}

JsonEventReader::Event JsonEventReader::next()
{
    if (m_failed)
        return Event::Error;
    if (!m_started) {
        m_started = true;
        if (peek() == 0xEF) { // a byte order mark
            if (take() != 0xEF || take() != 0xBB || take() != 0xBF)
                return fail();
        }
    }
    for (;;) {
        skipSpace();
        const int c = peek();
        switch (m_expect) {
        case Expect::Done:
            return c == EOF ? Event::End : fail();
        case Expect::Colon:
            if (take() != ':')
                return fail();
            m_expect = Expect::Value;
            continue;
        case Expect::CommaOrEnd:
            if (c == ',') {
                ++m_next;
                m_expect = m_containers.back() == '{' ? Expect::Key : Expect::Value;
                continue;
            }
            return closeContainer();
        case Expect::KeyOrEnd:
            if (c == '}')
                return closeContainer();
            [[fallthrough]];
        case Expect::Key:
            if (take() != '"' || !string())
                return fail();
            m_expect = Expect::Colon;
            return Event::Key;
        case Expect::ValueOrEnd:
            if (c == ']')
                return closeContainer();
            [[fallthrough]];
        case Expect::Value:
            return value(c);
        }
    }
}

JsonEventReader::Event JsonEventReader::closeContainer()
{
    const int c = take();
    if (m_containers.empty() || c != (m_containers.back() == '{' ? '}' : ']'))
        return fail();
    m_containers.pop_back();
    return afterValue(c == '}' ? Event::ObjectEnd : Event::ArrayEnd);
}

JsonEventReader::Event JsonEventReader::afterValue(Event event)
{
    m_expect = m_containers.empty() ? Expect::Done : Expect::CommaOrEnd;
    return event;
}

JsonEventReader::Event JsonEventReader::value(int c)
{
    switch (c) {
    case '{':
    case '[':
        ++m_next;
        m_containers.push_back(char(c));
        m_expect = c == '{' ? Expect::KeyOrEnd : Expect::ValueOrEnd;
        return c == '{' ? Event::ObjectStart : Event::ArrayStart;
    case '"':
        ++m_next;
        return string() ? afterValue(Event::String) : fail();
    case 't':
        return literal("true") ? afterValue(Event::Other) : fail();
    case 'f':
        return literal("false") ? afterValue(Event::Other) : fail();
    case 'n':
        return literal("null") ? afterValue(Event::Other) : fail();
    default:
        if (c == '-' || isDigit(c)) {
            const Event event = number();
            return event == Event::Error ? fail() : afterValue(event);
        }
        return fail();
    }
}

bool JsonEventReader::literal(const char *word)
{
    for (; *word != '\0'; ++word) {
        if (take() != static_cast<unsigned char>(*word))
            return false;
    }
    return true;
}

bool JsonEventReader::string()
{
    m_text.clear();
    for (;;) {
        // Plain ASCII runs are copied as they stand.
        const char *const start = m_buffer.data() + m_next;
        const char *at = start;
        const char *const end = m_buffer.data() + m_end;
        while (at < end) {
            const auto byte = static_cast<unsigned char>(*at);
            if (byte < 0x20 || byte >= 0x80 || byte == '"' || byte == '\\')
                break;
            ++at;
        }
        m_text.append(start, std::size_t(at - start));
        m_next += std::size_t(at - start);

        const int c = take();
        if (c == '"')
            return true;
        if (c == '\\') {
            if (!escape())
                return false;
        } else if (c >= 0x80) {
            if (!utf8Sequence(c))
                return false;
        } else if (c != EOF && c >= 0x20) {
            m_text += char(c); // a block ended inside a run
        } else {
            return false; // a raw control character, or the input ended
        }
    }
}

// The continuation bytes of a UTF-8 sequence starting with `lead`, checked as strictly as the
// standard asks: no overlong forms, no surrogates, nothing above U+10FFFF.
bool JsonEventReader::utf8Sequence(int lead)
{
    int more = 0;
    int low = 0x80;
    int high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        more = 1;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        more = 2;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        more = 3;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return false;
    }
    m_text += char(lead);
    for (int i = 0; i < more; ++i) {
        const int c = take();
        if (c < low || c > high)
            return false;
        m_text += char(c);
        low = 0x80;
        high = 0xBF;
    }
    return true;
}

bool JsonEventReader::hex4(unsigned &out)
{
    out = 0;
    for (int i = 0; i < 4; ++i) {
        const int c = take();
        unsigned digit = 0;
        if (isDigit(c))
            digit = unsigned(c - '0');
        else if (c >= 'a' && c <= 'f')
            digit = unsigned(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            digit = unsigned(c - 'A' + 10);
        else
            return false;
        out = out * 16 + digit;
    }
    return true;
}

bool JsonEventReader::escape()
{
    const int c = take();
    switch (c) {
    case '"':
    case '\\':
    case '/':
        m_text += char(c);
        return true;
    case 'b':
        m_text += '\b';
        return true;
    case 'f':
        m_text += '\f';
        return true;
    case 'n':
        m_text += '\n';
        return true;
    case 'r':
        m_text += '\r';
        return true;
    case 't':
        m_text += '\t';
        return true;
    case 'u':
        break;
    default:
        return false;
    }
    unsigned code = 0;
    if (!hex4(code) || (code >= 0xDC00 && code <= 0xDFFF))
        return false;
    if (code >= 0xD800 && code <= 0xDBFF) { // must be followed by its low half
        unsigned low = 0;
        if (take() != '\\' || take() != 'u' || !hex4(low) || low < 0xDC00 || low > 0xDFFF)
            return false;
        code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
    }
    appendUtf8(m_text, code);
    return true;
}

// -?(0|[1-9][0-9]*)(.[0-9]+)?([eE][+-]?[0-9]+)? ; an integer that fits neither a signed nor an
// unsigned 64-bit value counts as any other number.
JsonEventReader::Event JsonEventReader::number()
{
    const bool negative = peek() == '-';
    if (negative)
        ++m_next;
    quint64 magnitude = 0;
    bool overflow = false;
    int c = take();
    if (!isDigit(c))
        return Event::Error;
    if (c == '0') {
        if (isDigit(peek()))
            return Event::Error;
    } else {
        for (;; c = take()) {
            const unsigned digit = unsigned(c - '0');
            overflow = overflow || magnitude > (~quint64(0) - digit) / 10;
            magnitude = magnitude * 10 + digit;
            if (!isDigit(peek()))
                break;
        }
    }
    bool integer = true;
    if (peek() == '.') {
        ++m_next;
        if (!isDigit(take()))
            return Event::Error;
        while (isDigit(peek()))
            ++m_next;
        integer = false;
    }
    if (peek() == 'e' || peek() == 'E') {
        ++m_next;
        if (peek() == '+' || peek() == '-')
            ++m_next;
        if (!isDigit(take()))
            return Event::Error;
        while (isDigit(peek()))
            ++m_next;
        integer = false;
    }
    if (!integer || overflow || (negative && magnitude > (quint64(1) << 63)))
        return Event::Other;
    m_integer = negative ? quint64(0) - magnitude : magnitude;
    return Event::Integer;
}

bool JsonEventReader::skipValue(Event first)
{
    if (first != Event::ObjectStart && first != Event::ArrayStart)
        return first != Event::Error && first != Event::End;
    std::size_t depth = 1;
    while (depth > 0) {
        switch (next()) {
        case Event::ObjectStart:
        case Event::ArrayStart:
            ++depth;
            break;
        case Event::ObjectEnd:
        case Event::ArrayEnd:
            --depth;
            break;
        case Event::Error:
        case Event::End:
            return false;
        default:
            break;
        }
    }
    return true;
}
