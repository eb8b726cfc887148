#include "history/HistoryExport.h"

#include <map>
#include <string_view>
#include <utility>

#include "base/Gbk.h"
#include "base/SafeFile.h"
#include "base/Translation.h"
#include "history/ConnectionLog.h"
#include "history/HistoryFilter.h"

namespace tollix {

namespace {

std::string CsvField(std::string_view text)
{
    std::string field(text);
    if (!field.empty() && std::string_view("=+-@").find(field.front()) != std::string_view::npos)
        field.insert(0, 1, '\'');
    if (field.find_first_of(",\"\r\n") == std::string::npos && field == TrimBlanks(field))
        return field;
    std::string quoted = "\"";
    for (char c : field) {
        if (c == '"')
            quoted += '"';
        quoted += c;
    }
    return quoted + '"';
}

std::string Count(const std::optional<int64_t>& value)
{
    return value ? std::to_string(*value) : std::string();
}

void AddLine(std::string& out, std::initializer_list<std::string> fields)
{
    bool first = true;
    for (const std::string& f : fields) {
        if (!first)
            out += ',';
        out += f;
        first = false;
    }
    out += "\r\n";
}

}  // namespace

std::string HistoryCsv(
    const std::vector<ConnectionLogEntry>& entries, const std::vector<LinkBytes>& bytes, CsvEncoding encoding)
{
    std::string out;
    AddLine(out,
        {Tr("序号"), Tr("连接名称"), Tr("开始时间"), Tr("用时(秒)"), Tr("上网费(元)"), Tr("电话费(元)"),
            Tr("总费用(元)"), Tr("接收字节"), Tr("发送字节")});
    std::optional<int64_t> received = 0;
    std::optional<int64_t> sent = 0;
    auto add = [](std::optional<int64_t>& sum, const std::optional<int64_t>& value) {
        if (sum && value)
            *sum += *value;
        else
            sum.reset();
    };
    for (size_t i = 0; i < entries.size(); ++i) {
        const ConnectionLogEntry& e = entries[i];
        const LinkBytes counts = i < bytes.size() ? bytes[i] : LinkBytes{};
        add(received, counts.Received);
        add(sent, counts.Sent);
        AddLine(out,
            {std::to_string(i + 1), CsvField(TrimBlanks(e.ConnectionName)), GeneralDateText(e.StartTime),
                std::to_string(e.Seconds), MoneyText(e.NetFee), MoneyText(e.TelFee),
                MoneyText(e.NetFee + e.TelFee), Count(counts.Received), Count(counts.Sent)});
    }
    // A total over partly unknown counts would read as the whole; it is left empty.
    const HistoryTotals totals = SumHistory(entries);
    AddLine(out,
        {Tr("合计"), "", "", std::to_string(totals.Seconds), MoneyText(totals.NetFee),
            MoneyText(totals.TelFee), MoneyText(totals.Total), entries.empty() ? "" : Count(received),
            entries.empty() ? "" : Count(sent)});
    if (encoding == CsvEncoding::Gbk)
        return Utf8ToGbk(out);
    return "\xEF\xBB\xBF" + out;
}

std::vector<LinkBytes> ArchivedBytes(
    const std::vector<ConnectionLogEntry>& entries, const std::vector<ArchivedConnection>& archived)
{
    // The log holds names cut to 15 characters; the archive keeps them whole.
    std::map<std::pair<int64_t, std::string>, LinkBytes> byStart;
    for (const ArchivedConnection& c : archived)
        byStart[{SecondsBetween(DateTime(), c.Start), TrimBlanks(FixName15(c.ConnectionName))}]
            = LinkBytes{c.ReceivedBytes, c.SentBytes};
    std::vector<LinkBytes> bytes;
    bytes.reserve(entries.size());
    for (const ConnectionLogEntry& e : entries) {
        const auto found
            = byStart.find({SecondsBetween(DateTime(), e.StartTime), TrimBlanks(e.ConnectionName)});
        bytes.push_back(found == byStart.end() ? LinkBytes{} : found->second);
    }
    return bytes;
}

bool ExportHistoryCsv(const std::filesystem::path& file, const std::vector<ConnectionLogEntry>& entries,
    const std::vector<LinkBytes>& bytes, CsvEncoding encoding, std::string* error)
{
    return ReplaceFileAtomically(file, HistoryCsv(entries, bytes, encoding), error);
}

}  // namespace tollix
