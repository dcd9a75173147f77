#include "state/DatShelf.h"

void DatShelf::setFiles(const QStringList &files)
{
    if (files == m_files)
        return;
    m_files = files;
    m_reading = {};
    m_told = false;
}

std::shared_future<DatShelf::Read> DatShelf::reading()
{
    if (!m_reading.valid()) {
        m_reading = std::async(std::launch::async, [files = m_files] {
            auto read = std::make_shared<DatCatalogue>();
            Messages messages;
            for (const QString &path : files) {
                if (const std::optional<Message> refused = read->addFile(path))
                    messages.append(*refused);
            }
            return Read{std::move(read), std::move(messages)};
        });
    }
    return m_reading;
}

std::shared_ptr<const DatCatalogue> DatShelf::readCatalogue()
{
    const std::shared_future<Read> read = reading();
    if (read.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return nullptr;
    return read.get().catalogue;
}

Messages DatShelf::takeMessages()
{
    if (m_told || !m_reading.valid() ||
        m_reading.wait_for(std::chrono::seconds(0)) != std::future_status::ready)
        return {};
    m_told = true;
    return m_reading.get().messages;
}
