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

void appendJsonString(std::string &out, const QString &text)
{
    static const char kHex[] = "0123456789abcdef";
    out += '"';
    for (const char c : text.toUtf8()) {
        const auto byte = static_cast<unsigned char>(c);
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
            if (byte < 0x20) {
                out += "\\u00";
                out += kHex[byte >> 4];
                out += kHex[byte & 0xF];
            } else {
                out += c;
            }
        }
    }
    out += '"';
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
