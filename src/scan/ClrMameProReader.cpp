#include "scan/ClrMameProReader.h"

#include "core/Cp1252.h"

namespace {

const QString kEndOfFileText = QStringLiteral("Unexpected end of file.");
const QString kUnterminatedText = QStringLiteral("Unterminated string.");
const QString kUnbalancedText = QStringLiteral("Unbalanced parentheses.");
const QString kBlockExpectedText = QStringLiteral("A block such as game ( ... ) was expected.");
const QString kNamelessGameText = QStringLiteral("A game without a name.");

constexpr qint64 kDeviceBlock = 1 << 16;
const QByteArrayView kByteOrderMark("\xEF\xBB\xBF");

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

bool endsWord(char c)
{
    return isBlank(c) || c == '(' || c == ')' || c == '"';
}

enum class Token { Open, Close, Word, String, End, Error };

// The text as tokens, from memory or from a device a block at a time. A token's text is a view
// into the bytes when it lies whole within them, else a copy; either holds until the next token.
class Lexer
{
public:
    explicit Lexer(QByteArrayView bytes)
        : m_at(bytes.data())
        , m_end(bytes.data() + bytes.size())
    {
        skipByteOrderMark();
    }
    explicit Lexer(QIODevice &device)
        : m_device(&device)
    {
        fill();
        skipByteOrderMark();
    }

    Token next()
    {
        for (;;) {
            while (m_at != m_end && isBlank(*m_at)) {
                if (*m_at == '\n')
                    ++m_line;
                ++m_at;
            }
            if (m_at != m_end)
                break;
            if (!fill()) {
                m_tokenLine = m_line;
                return Token::End;
            }
        }
        m_tokenLine = m_line;
        switch (*m_at) {
        case '(':
            ++m_at;
            return Token::Open;
        case ')':
            ++m_at;
            return Token::Close;
        case '"':
            ++m_at;
            return readString();
        default:
            return readWord();
        }
    }

    QByteArrayView text() const { return m_text; }
    qint64 line() const { return m_tokenLine; } // where the last token began
    const QString &error() const { return m_error; }

private:
    void skipByteOrderMark()
    {
        if (QByteArrayView(m_at, m_end - m_at).startsWith(kByteOrderMark))
            m_at += kByteOrderMark.size();
    }

    // The next block of the device; false at its end (and always from memory).
    bool fill()
    {
        if (m_device == nullptr)
            return false;
        m_block.resize(kDeviceBlock);
        const qint64 got = m_device->read(m_block.data(), kDeviceBlock);
        m_at = m_block.constData();
        m_end = m_at + std::max<qint64>(got, 0);
        return got > 0;
    }

    // Copies what the token holds so far, from `start` to here, before the bytes move on.
    void keep(const char *start, bool &copied)
    {
        if (!copied)
            m_copy.resize(0);
        copied = true;
        m_copy.append(start, m_at - start);
    }

    void finishText(const char *start, bool copied)
    {
        if (copied) {
            m_copy.append(start, m_at - start);
            m_text = m_copy;
        } else {
            m_text = QByteArrayView(start, m_at - start);
        }
    }

    Token readWord()
    {
        const char *start = m_at;
        bool copied = false;
        for (;;) {
            while (m_at != m_end && !endsWord(*m_at))
                ++m_at;
            if (m_at != m_end || m_device == nullptr)
                break;
            keep(start, copied);
            const bool more = fill();
            start = m_at;
            if (!more)
                break;
        }
        finishText(start, copied);
        return Token::Word;
    }

    Token readString()
    {
        const char *start = m_at;
        bool copied = false;
        for (;;) {
            if (m_at == m_end) {
                keep(start, copied);
                if (!fill())
                    return fail(kUnterminatedText);
                start = m_at;
                continue;
            }
            const char c = *m_at;
            if (c == '"')
                break;
            if (c == '\\') {
                keep(start, copied);
                ++m_at;
                if (m_at == m_end && !fill())
                    return fail(kUnterminatedText);
                if (*m_at == '"') {
                    m_copy.append('"');
                    ++m_at;
                } else {
                    m_copy.append('\\');
                }
                start = m_at;
                continue;
            }
            if (c == '\n')
                ++m_line;
            ++m_at;
        }
        finishText(start, copied);
        ++m_at; // the closing quote
        return Token::String;
    }

    Token fail(const QString &what)
    {
        m_error = what;
        return Token::Error;
    }

    QIODevice *m_device = nullptr;
    QByteArray m_block;
    const char *m_at = nullptr;
    const char *m_end = nullptr;
    QByteArray m_copy;
    QByteArrayView m_text;
    qint64 m_line = 1;
    qint64 m_tokenLine = 1;
    QString m_error;
};

enum class Key { Other, Name, Version, Year, Manufacturer, Region, Rom, Size, Crc };

Key keyOf(QByteArrayView word)
{
    static const std::pair<QByteArrayView, Key> kKeys[] = {
        {"name", Key::Name},     {"version", Key::Version},
        {"year", Key::Year},     {"manufacturer", Key::Manufacturer},
        {"region", Key::Region}, {"rom", Key::Rom},
        {"size", Key::Size},     {"crc", Key::Crc},
    };
    for (const auto &[text, key] : kKeys) {
        if (word == text)
            return key;
    }
    return Key::Other;
}

enum class Block { Header, Game, Other };

Block blockOf(QByteArrayView word)
{
    if (word == "clrmamepro")
        return Block::Header;
    if (word == "game" || word == "machine" || word == "resource")
        return Block::Game;
    return Block::Other;
}

QString textOf(QByteArrayView bytes)
{
    return bytes.isValidUtf8() ? QString::fromUtf8(bytes) : fromCp1252(bytes.data(), bytes.size());
}

class Parser
{
public:
    explicit Parser(Lexer &lexer)
        : m_lexer(lexer)
    {
    }

    DatRead run()
    {
        for (;;) {
            Token token = m_lexer.next();
            if (token == Token::End)
                return std::move(m_read);
            if (token != Token::Word)
                return failed(token);
            const Block block = blockOf(m_lexer.text());
            const qint64 line = m_lexer.line();
            token = m_lexer.next();
            if (token != Token::Open)
                return failed(token == Token::Error ? token : Token::Word);
            if (!readBlock(block, line))
                return std::move(m_read);
        }
    }

private:
    DatRead failed(Token token)
    {
        fail(token == Token::Error   ? m_lexer.error()
             : token == Token::Close ? kUnbalancedText
                                     : kBlockExpectedText,
             m_lexer.line());
        return std::move(m_read);
    }

    bool fail(const QString &what, qint64 line)
    {
        m_read = DatRead{};
        m_read.error = what;
        m_read.errorLine = line;
        return false;
    }

    // The block whose "(" was just read, up to its ")"; nested blocks are counted, not recursed.
    bool readBlock(Block block, qint64 startLine)
    {
        DatGame game;
        m_roms.resize(0);
        qint64 depth = 1;
        bool inRom = false; // a rom ( ... ) of a game, at depth 2
        DatRom rom;
        bool romSize = false;
        bool romCrc = false;
        bool haveKey = false;
        Key key = Key::Other;
        for (;;) {
            const Token token = m_lexer.next();
            switch (token) {
            case Token::Error:
                return fail(m_lexer.error(), m_lexer.line());
            case Token::End:
                return fail(kEndOfFileText, m_lexer.line());
            case Token::Open:
                if (++depth == 2) {
                    inRom = block == Block::Game && haveKey && key == Key::Rom;
                    rom = DatRom{};
                    romSize = romCrc = false;
                }
                haveKey = false;
                break;
            case Token::Close:
                if (inRom && depth == 2 && romSize && romCrc)
                    m_roms.append(rom);
                inRom = inRom && depth != 2;
                haveKey = false;
                if (--depth == 0)
                    return endBlock(block, game, startLine);
                break;
            case Token::Word:
            case Token::String:
                if (!haveKey) {
                    key = token == Token::Word ? keyOf(m_lexer.text()) : Key::Other;
                    haveKey = true;
                    break;
                }
                haveKey = false;
                if (block == Block::Header && depth == 1) {
                    if (key == Key::Name)
                        m_read.name = textOf(m_lexer.text());
                    else if (key == Key::Version)
                        m_read.version = textOf(m_lexer.text());
                } else if (block == Block::Game && inRom) {
                    if (key == Key::Size && depth == 2)
                        romSize = readRomSize(m_lexer.text(), rom.size);
                    else if (key == Key::Crc && depth == 2)
                        romCrc = readRomCrc(m_lexer.text(), rom.crc);
                } else if (block == Block::Game && depth == 1) {
                    if (key == Key::Name)
                        game.name = textOf(m_lexer.text());
                    else if (key == Key::Year)
                        game.year = readDatYear(m_lexer.text());
                    else if (key == Key::Manufacturer)
                        game.manufacturer = textOf(m_lexer.text());
                    else if (key == Key::Region)
                        game.region = true;
                } else if (block == Block::Game && key == Key::Region) {
                    game.region = true; // release ( name "..." region EUR )
                }
                break;
            }
        }
    }

    bool endBlock(Block block, DatGame &game, qint64 startLine)
    {
        if (block != Block::Game)
            return true;
        if (game.name.isEmpty())
            return fail(kNamelessGameText, startLine);
        if (m_roms.isEmpty())
            return true; // nothing to match it by
        const qint32 index = qint32(m_read.games.size());
        for (DatRom &rom : m_roms) {
            rom.game = index;
            m_read.roms.append(rom);
        }
        m_read.games.append(std::move(game));
        return true;
    }

    Lexer &m_lexer;
    DatRead m_read;
    QList<DatRom> m_roms; // of the game being read
};

} // namespace

bool looksLikeClrMamePro(QByteArrayView head)
{
    if (head.startsWith(kByteOrderMark))
        head = head.sliced(kByteOrderMark.size());
    qsizetype at = 0;
    while (at < head.size() && isBlank(head[at]))
        ++at;
    const qsizetype word = at;
    while (at < head.size() && !endsWord(head[at]) && head[at] != '<')
        ++at;
    if (at == word)
        return false;
    while (at < head.size() && isBlank(head[at]))
        ++at;
    return at < head.size() && head[at] == '(';
}

DatRead readClrMamePro(QByteArrayView bytes)
{
    Lexer lexer(bytes);
    return Parser(lexer).run();
}

DatRead readClrMamePro(QIODevice &device)
{
    Lexer lexer(device);
    return Parser(lexer).run();
}
