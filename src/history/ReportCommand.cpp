#include "history/ReportCommand.h"

#include <optional>
#include <string_view>

#include "base/TextUtil.h"
#include "base/Translation.h"
#include "config/SettingKeys.h"
#include "history/UsageArchive.h"
#include "history/UsageReport.h"

namespace tollix {

namespace {

std::string Usage()
{
    // The option names stay outside the texts, so that the columns line up in
    // every language.
    return Tr("用法：tollix report [--period today|week|month|year|all] [--from 日期] [--to 日期]") + "\n"
        + Tr("                    [--by day|week|month|year|connection] [--format table|csv|json]") + "\n"
        + Tr("不打开窗口，从使用记录存档 usage.sqlite 统计上网的用时和费用。") + "\n\n" + "  --period   "
        + Tr("统计今天、本周、本月、今年或全部的记录（默认：全部）") + "\n" + "  --from     "
        + Tr("从这一天起（含），日期写成 YYYY-MM-DD") + "\n" + "  --to       "
        + Tr("到这一天止（含），日期写成 YYYY-MM-DD") + "\n" + "  --by       "
        + Tr("按天、周、月、年或连接名称分组合计（默认：按月）") + "\n" + "  --format   "
        + Tr("输出为表格、CSV 或 JSON（默认：表格）") + "\n" + "  --help     " + Tr("显示本帮助后退出")
        + "\n\n" + Tr("每周和每月从设置中的统计重置日算起。") + "\n";
}

struct Options {
    std::optional<ReportGrouping> Period;  // nothing: all
    std::optional<int64_t> FromDay, ToDay;
    ReportGrouping By = ReportGrouping::Month;
    std::string Format = "table";
    bool Help = false;
};

struct Choice {
    const char* Word;
    ReportGrouping Grouping;
};
// --period: "all" is no period at all.
constexpr Choice kPeriods[] = {{"today", ReportGrouping::Day}, {"week", ReportGrouping::Week},
    {"month", ReportGrouping::Month}, {"year", ReportGrouping::Year}};
constexpr Choice kGroupings[]
    = {{"day", ReportGrouping::Day}, {"week", ReportGrouping::Week}, {"month", ReportGrouping::Month},
        {"year", ReportGrouping::Year}, {"connection", ReportGrouping::Connection}};

template <size_t N> std::optional<ReportGrouping> Pick(std::string_view word, const Choice (&choices)[N])
{
    for (const Choice& c : choices)
        if (word == c.Word)
            return c.Grouping;
    return std::nullopt;
}

std::optional<int64_t> ParseDay(std::string_view text)
{
    // Exactly YYYY-MM-DD: a time of day would silently cut the day short.
    if (text.size() != 10 || text[4] != '-' || text[7] != '-')
        return std::nullopt;
    auto d = ParseGeneralDate(text);
    if (!d)
        return std::nullopt;
    return d->DayNumber();
}

// Reads the words after "report"; an empty optional with the reason in `why`.
std::optional<Options> ParseArguments(const std::vector<std::string>& args, std::string& why)
{
    Options o;
    for (size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h") {
            o.Help = true;
            continue;
        }
        std::string name(arg), value;
        bool haveValue = false;
        if (const size_t eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            name = std::string(arg.substr(0, eq));
            value = std::string(arg.substr(eq + 1));
            haveValue = true;
        }
        if (name != "--period" && name != "--from" && name != "--to" && name != "--by"
            && name != "--format") {
            why = Tr("无法识别的参数“%1”", {arg});
            return std::nullopt;
        }
        if (!haveValue) {
            if (i + 1 >= args.size()) {
                why = Tr("选项 %1 后面缺少值", {name});
                return std::nullopt;
            }
            value = args[++i];
        }
        if (name == "--period") {
            o.Period = Pick(value, kPeriods);
            if (!o.Period && value != "all") {
                why = Tr("--period 只能是 today、week、month、year 或 all，不能是“%1”", {value});
                return std::nullopt;
            }
        } else if (name == "--by") {
            auto by = Pick(value, kGroupings);
            if (!by) {
                why = Tr("--by 只能是 day、week、month、year 或 connection，不能是“%1”", {value});
                return std::nullopt;
            }
            o.By = *by;
        } else if (name == "--format") {
            if (value != "table" && value != "csv" && value != "json") {
                why = Tr("--format 只能是 table、csv 或 json，不能是“%1”", {value});
                return std::nullopt;
            }
            o.Format = value;
        } else {
            auto day = ParseDay(value);
            if (!day) {
                why = Tr("日期“%1”无效，请写成 YYYY-MM-DD，例如 2026-03-05", {value});
                return std::nullopt;
            }
            (name == "--from" ? o.FromDay : o.ToDay) = day;
        }
    }
    if (o.Period && (o.FromDay || o.ToDay)) {
        why = Tr("--period 不能和 --from、--to 同时使用");
        return std::nullopt;
    }
    if (o.FromDay && o.ToDay && *o.FromDay > *o.ToDay) {
        why = Tr("开始日期晚于结束日期");
        return std::nullopt;
    }
    return o;
}

DateTime Midnight(int64_t day)
{
    return DateTime::FromDays(double(day));
}

ReportRange RangeOf(const Options& o, DateTime now, const ReportCalendar& calendar)
{
    // Years 100 to 9999 are all a date can hold; the archive's text keys sort
    // right only within them.
    const DateTime latest = DateTime::FromCivil(9999, 12, 31, 23, 59, 59).value_or(DateTime());
    ReportRange range{DateTime::FromCivil(100, 1, 1).value_or(DateTime()), latest};
    if (o.Period)
        return PeriodContaining(*o.Period, now, calendar);
    if (o.FromDay)
        range.From = Midnight(*o.FromDay);
    if (o.ToDay && Midnight(*o.ToDay + 1).Days() < latest.Days())
        range.To = Midnight(*o.ToDay + 1);
    return range;
}

std::string DateOnly(DateTime d)
{
    return GeneralDateText(d).substr(0, 10);
}

std::string Duration(int64_t seconds)
{
    return seconds == 0 ? Tr("%1秒", {"0"}) : DurationText(seconds);
}

// Columns a terminal gives a text: two for East Asian wide characters.
size_t DisplayWidth(std::string_view text)
{
    size_t width = 0;
    EachCodePoint(text, [&](char32_t c) {
        const bool wide = (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF)
            || (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) || (c >= 0xFE30 && c <= 0xFE4F)
            || (c >= 0xFF00 && c <= 0xFF60) || (c >= 0xFFE0 && c <= 0xFFE6) || c >= 0x20000;
        width += wide ? 2 : 1;
        return true;
    });
    return width;
}

std::vector<std::string> TableCells(const std::string& label, const UsageTotals& t)
{
    return {label, std::to_string(t.Connections), Duration(t.Seconds), MoneyText(t.NetFee),
        MoneyText(t.TelFee), MoneyText(t.TotalFee())};
}

void PrintTable(std::ostream& out, const Options& o, const UsageReportResult& r, const ReportRange& range,
    const std::vector<ArchivedConnection>& rows, DateTime now, const ReportCalendar& calendar)
{
    std::vector<std::vector<std::string>> lines;
    lines.push_back({o.By == ReportGrouping::Connection ? Tr("连接名称") : Tr("时间段"), Tr("上网次数"),
        Tr("用时"), Tr("上网费(元)"), Tr("电话费(元)"), Tr("总费用(元)")});
    for (const ReportRow& row : r.Rows)
        lines.push_back(TableCells(row.Key, row.Totals));
    lines.push_back(TableCells(Tr("合计"), r.Total));
    std::vector<size_t> widths(lines[0].size(), 0);
    for (const auto& line : lines)
        for (size_t i = 0; i < line.size(); ++i)
            widths[i] = std::max(widths[i], DisplayWidth(line[i]));
    if (o.Period || o.FromDay || o.ToDay)
        out << Tr("统计范围：%1 至 %2", {DateOnly(range.From), DateOnly(range.To.AddSeconds(-1))}) << "\n";
    else
        out << Tr("统计范围：全部记录") << "\n";
    for (const auto& line : lines) {
        std::string text;
        for (size_t i = 0; i < line.size(); ++i) {
            const std::string pad(widths[i] - DisplayWidth(line[i]), ' ');
            // Names and periods to the left, numbers to the right.
            text += i == 0 ? line[i] + pad : pad + line[i];
            if (i + 1 < line.size())
                text += "  ";
        }
        out << text << "\n";
    }
    if (o.Period == ReportGrouping::Month) {
        const MonthForecast f = ForecastMonth(rows, now, calendar);
        out << Tr("按目前的速度，本月预计用时 %1，费用 %2 元", {Duration(f.Seconds), MoneyText(f.TotalFee)})
            << "\n";
    }
}

std::string CsvField(const std::string& text)
{
    if (text.find_first_of(",\"\r\n") == std::string::npos)
        return text;
    std::string quoted = "\"";
    for (char c : text)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

std::string Bytes(int64_t bytes, const UsageTotals& t)
{
    return t.ConnectionsWithBytes ? std::to_string(bytes) : "";
}

void PrintCsv(std::ostream& out, const UsageReportResult& r, bool byConnection)
{
    out << (byConnection ? "connection" : "period")
        << ",start,end,connections,seconds,net_fee,tel_fee,total_fee,call_units,rx_bytes,tx_bytes\r\n";
    auto line = [&](const std::string& key, const std::string& start, const std::string& end,
                    const UsageTotals& t) {
        out << CsvField(key) << ',' << start << ',' << end << ',' << t.Connections << ',' << t.Seconds << ','
            << MoneyText(t.NetFee) << ',' << MoneyText(t.TelFee) << ',' << MoneyText(t.TotalFee()) << ','
            << t.CallUnits << ',' << Bytes(t.ReceivedBytes, t) << ',' << Bytes(t.SentBytes, t) << "\r\n";
    };
    for (const ReportRow& row : r.Rows) {
        if (byConnection)
            line(row.Key, "", "", row.Totals);
        else
            line(row.Key, DateOnly(row.PeriodStart), DateOnly(row.PeriodEnd.AddSeconds(-1)), row.Totals);
    }
}

std::string JsonString(std::string_view text)
{
    std::string s = "\"";
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == '"' || c == '\\') {
            s += '\\';
            s += ch;
        } else if (c < 0x20) {
            static constexpr char kHex[] = "0123456789abcdef";
            s += "\\u00";
            s += kHex[c >> 4];
            s += kHex[c & 15];
        } else {
            s += ch;
        }
    }
    return s + "\"";
}

std::string JsonTotals(const UsageTotals& t)
{
    auto bytes = [&](int64_t b) { return t.ConnectionsWithBytes ? std::to_string(b) : std::string("null"); };
    return "\"connections\":" + std::to_string(t.Connections) + ",\"seconds\":" + std::to_string(t.Seconds)
        + ",\"net_fee\":" + MoneyText(t.NetFee) + ",\"tel_fee\":" + MoneyText(t.TelFee)
        + ",\"total_fee\":" + MoneyText(t.TotalFee()) + ",\"call_units\":" + std::to_string(t.CallUnits)
        + ",\"rx_bytes\":" + bytes(t.ReceivedBytes) + ",\"tx_bytes\":" + bytes(t.SentBytes);
}

void PrintJson(std::ostream& out, const Options& o, const UsageReportResult& r, const ReportRange& range)
{
    const bool byConnection = o.By == ReportGrouping::Connection;
    // No bound given: null rather than the first and last day a date can hold.
    const bool from = o.Period || o.FromDay, to = o.Period || o.ToDay;
    out << "{\"from\":" << (from ? JsonString(DateOnly(range.From)) : "null")
        << ",\"to\":" << (to ? JsonString(DateOnly(range.To.AddSeconds(-1))) : "null") << ",\"rows\":[";
    for (size_t i = 0; i < r.Rows.size(); ++i) {
        const ReportRow& row = r.Rows[i];
        out << (i ? "," : "") << "\n  {";
        if (byConnection)
            out << "\"connection\":" << JsonString(row.Key);
        else
            out << "\"period\":" << JsonString(row.Key)
                << ",\"start\":" << JsonString(DateOnly(row.PeriodStart))
                << ",\"end\":" << JsonString(DateOnly(row.PeriodEnd.AddSeconds(-1)));
        out << "," << JsonTotals(row.Totals) << "}";
    }
    out << "],\n \"total\":{" << JsonTotals(r.Total) << "}}\n";
}

}  // namespace

int RunReport(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
    const std::filesystem::path& dataFolder, DateTime now)
{
    std::string why;
    auto options = ParseArguments(args, why);
    if (!options) {
        err << Tr("tollix report：%1。", {why}) << "\n" << Tr("请用 tollix report --help 查看用法。") << "\n";
        return 2;
    }
    if (options->Help) {
        out << Usage();
        return 0;
    }
    const ProfileFile profile(dataFolder / "tollix.ini");
    const ReportCalendar calendar{
        ReadSettingInt16(profile, Setting::ResetWeek), ReadSettingInt16(profile, Setting::ResetMonth)};
    const ReportRange range = RangeOf(*options, now, calendar);

    std::string error;
    std::optional<std::vector<ArchivedConnection>> rows;
    // The meter makes its archive when the first connection ends: before any
    // connection there is nothing to report, which is not an error.
    if (!UsageArchive::Exists(dataFolder) && !UsageArchive::ImportWaits(dataFolder)) {
        rows.emplace();
    } else if (auto archive = UsageArchive::OpenReadOnly(dataFolder / kUsageArchiveFileName, &error)) {
        rows = archive->Query(range.From, range.To, &error);
    }
    if (!rows) {
        err << Tr("tollix report：%1", {error}) << "\n";
        return 1;
    }
    const UsageReportResult result = AggregateUsage(*rows, options->By, range, calendar);
    const bool byConnection = options->By == ReportGrouping::Connection;
    if (options->Format == "csv")
        PrintCsv(out, result, byConnection);
    else if (options->Format == "json")
        PrintJson(out, *options, result, range);
    else
        PrintTable(out, *options, result, range, *rows, now, calendar);
    return out.good() ? 0 : 1;
}

}  // namespace tollix
