#include "cli/CliSupport.h"

#include <cstdio>
#include <iostream>

std::string utf8(const QString &text)
{
    return text.toStdString();
}

QString fromUtf8(const std::string &text)
{
    return QString::fromStdString(text);
}

Json stringList(const QStringList &list)
{
    Json out = Json::array();
    for (const QString &item : list)
        out.push_back(utf8(item));
    return out;
}

void printJson(const Json &json)
{
    std::cout << json.dump(2, ' ', false, Json::error_handler_t::replace) << '\n';
}

namespace {

void appendEscaped(std::string &out, char c)
{
    static const char kHex[] = "0123456789abcdef";
    switch (c) {
    case '"':
        out += "\\\"";
        break;
    case '\\':
        out += "\\\\";
        break;
    case '\b':
        out += "\\b";
        break;
    case '\f':
        out += "\\f";
        break;
    case '\n':
        out += "\\n";
        break;
    case '\r':
        out += "\\r";
        break;
    case '\t':
        out += "\\t";
        break;
    default:
        if (const auto byte = static_cast<unsigned char>(c); byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        } else {
            out += c;
        }
    }
}

} // namespace

void appendJsonString(std::string &out, QStringView text)
{
    out += '"';
    // Most text is ASCII and goes straight across; from the first other character on, the rest
    // goes through UTF-8.
    const char16_t *const units = text.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (units[i] >= 0x80) {
            for (const char c : text.sliced(i).toUtf8())
                appendEscaped(out, c);
            break;
        }
        appendEscaped(out, char(units[i]));
    }
    out += '"';
}

void StreamedOutput::flush()
{
    std::fwrite(m_text.data(), 1, m_text.size(), stdout);
    m_text.clear();
}

void printMessage(const Message &message)
{
    const QString text = QString(message.text).replace(kCrLf, QStringLiteral("\n"));
    std::cerr << utf8(message.title) << ": " << utf8(text) << '\n';
}

void printMessages(const Messages &messages)
{
    for (const Message &message : messages)
        printMessage(message);
}

int usageError(const QString &text)
{
    std::cerr << "kivo-cli: " << utf8(text) << "\nTry 'kivo-cli --help'.\n";
    return kExitUsage;
}
