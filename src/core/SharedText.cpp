#include "core/SharedText.h"

#include "core/Cp1252.h"
#include "core/LargeAllocation.h"

SharedTextBuilder::SharedTextBuilder(qsizetype characters)
    : m_text(characters, Qt::Uninitialized)
{
    // Taken while the text is not yet shared: later writes go to parts no slice covers yet.
    m_next = reinterpret_cast<char16_t *>(m_text.data());
    m_end = m_next + characters;
    preferHugePages(m_next, std::size_t(characters) * sizeof(char16_t));
}

QString SharedTextBuilder::add(const char *data, qsizetype size)
{
    if (size <= 0)
        return {};
    Q_ASSERT(m_end - m_next >= size + 1);
    QString::DataPointer slice = m_text.data_ptr(); // the copy takes a reference
    slice.ptr = m_next;
    slice.size = size;
    m_next = decodeCp1252Into(m_next, data, size);
    *m_next++ = u'\0';
    return QString(std::move(slice));
}
