#pragma once

#include <QtGlobal>

#include <cstdio>
#include <string>
#include <vector>

// A strict JSON reader that hands out one event at a time, reading its input in blocks, so a
// document of any size is read without being held. It accepts exactly what RFC 8259 allows
// (and a leading UTF-8 byte order mark): strings must be valid UTF-8 without raw control
// characters, escapes must pair their surrogates, and nothing but white space may follow the
// document.
class JsonEventReader
{
public:
    enum class Event {
        ObjectStart,
        ObjectEnd,
        ArrayStart,
        ArrayEnd,
        Key,     // text() holds the name
        String,  // text() holds the value
        Integer, // a number without fraction or exponent that fits 64 bits; see integer32()
        Other,   // any other number, true, false or null
        End,     // the document ended as it should
        Error,   // the input is not JSON; every later call says so too
    };

    explicit JsonEventReader(std::FILE *input);

    Event next();
    // Skips the rest of a value whose first event was `first` (a start event skips to its end).
    // False when the input turned out not to be JSON.
    bool skipValue(Event first);

    const std::string &text() const { return m_text; }
    // The integer's low 32 bits, as a cast of the 64-bit value gives them.
    qint32 integer32() const { return qint32(quint32(m_integer)); }

private:
    enum class Expect { Value, ValueOrEnd, Key, KeyOrEnd, Colon, CommaOrEnd, Done };

    int peek();
    int take();
    bool fill();
    void skipSpace();
    Event fail();
    Event value(int c);
    Event closeContainer();
    Event afterValue(Event event);
    bool string();
    bool utf8Sequence(int lead);
    bool escape();
    bool hex4(unsigned &out);
    Event number();
    bool literal(const char *word);

    std::FILE *m_input;
    std::vector<char> m_buffer;
    std::size_t m_next = 0;
    std::size_t m_end = 0;
    bool m_eof = false;
    bool m_started = false;
    bool m_failed = false;

    std::vector<char> m_containers; // '{' or '[' for each open one
    Expect m_expect = Expect::Value;
    std::string m_text;
    quint64 m_integer = 0;
};
