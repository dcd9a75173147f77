#pragma once

#include "core/Message.h"
#include "core/RomDatabase.h"
#include "core/SearchPathList.h"

#include <nlohmann/json.hpp>

#include <QString>
#include <QStringList>

// Shared by the subcommands of kivo-cli: JSON goes to stdout, messages to stderr as
// "Title: text"; usage errors exit 2, rejected input exits 1.
using Json = nlohmann::ordered_json;

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

std::string utf8(const QString &text);
QString fromUtf8(const std::string &text);
Json stringList(const QStringList &list);

void printJson(const Json &json);
// `text` as a quoted JSON string, escaped as printJson escapes it, appended to `out`.
void appendJsonString(std::string &out, QStringView text);

// Output made piece by piece and written to stdout in blocks, so output of any size never sits
// in memory whole. Append to text(), call madeItem() after each item; the rest goes out at the
// end.
class StreamedOutput
{
public:
    StreamedOutput() { m_text.reserve(kBlock + 4096); }
    ~StreamedOutput() { flush(); }
    StreamedOutput(const StreamedOutput &) = delete;
    StreamedOutput &operator=(const StreamedOutput &) = delete;

    std::string &text() { return m_text; }
    void madeItem()
    {
        if (m_text.size() >= kBlock)
            flush();
    }
    void flush();

private:
    static constexpr std::size_t kBlock = 1 << 16;
    std::string m_text;
};
void printMessage(const Message &message);
void printMessages(const Messages &messages);
int usageError(const QString &text);
// The catalogue and its search paths as dump prints them; the members of `extra`, an object,
// follow the paths.
void printCatalogue(const RomDatabase &database, const SearchPaths &paths,
                    const Json &extra = Json::object());

// One subcommand: its arguments after the subcommand's name.
using Subcommand = int (*)(const QStringList &arguments);

int cmdDump(const QStringList &arguments);
int cmdWrite(const QStringList &arguments);
int cmdSettings(const QStringList &arguments);
int cmdLanguage(const QStringList &arguments);
int cmdTape(const QStringList &arguments);
int cmdMembers(const QStringList &arguments);
int cmdRender(const QStringList &arguments);
int cmdScreen(const QStringList &arguments);
int cmdMachine(const QStringList &arguments);
int cmdDisk(const QStringList &arguments);
int cmdExport(const QStringList &arguments);
int cmdImport(const QStringList &arguments);
int cmdScan(const QStringList &arguments);
int cmdCommand(const QStringList &arguments);
int cmdLibrary(const QStringList &arguments);
int cmdDat(const QStringList &arguments);
int cmdIdentify(const QStringList &arguments);
int cmdDuplicates(const QStringList &arguments);
