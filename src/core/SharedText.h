#pragma once

#include <QString>

// Text read from one file, decoded into one allocation. Every field is a slice of it, so a
// catalogue of 100,000 entries loads with a few allocations instead of 700,000. A slice is an
// ordinary QString: changing it copies it first (the allocation is shared and reference
// counted), and the allocation lives as long as any slice of it. Each slice is followed by a
// '\0', as QString::utf16() promises.
class SharedTextBuilder
{
public:
    // Room for `characters` characters, terminators included; the builder never grows.
    explicit SharedTextBuilder(qsizetype characters);
    SharedTextBuilder(const SharedTextBuilder &) = delete;
    SharedTextBuilder &operator=(const SharedTextBuilder &) = delete;

    // Decodes Windows-1252 bytes into the shared text; null for no bytes.
    QString add(const char *data, qsizetype size);

private:
    QString m_text;
    char16_t *m_next;
    char16_t *m_end;
};
