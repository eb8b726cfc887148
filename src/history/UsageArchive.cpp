#include "history/UsageArchive.h"

#include <sqlite3.h>
#include <system_error>

#include "base/DateTime.h"
#include "base/TextUtil.h"
#include "base/Translation.h"
#include "history/ConnectionLog.h"

namespace tollix {

namespace {

constexpr int kBusyTimeoutMs = 5000;

// Each step takes the schema from version i to i + 1; a new archive runs them
// all. Later versions append steps here and never change earlier ones.
constexpr const char* kMigrations[] = {
    "CREATE TABLE connections ("
    " id INTEGER PRIMARY KEY,"
    " session_key TEXT NOT NULL UNIQUE,"
    " start_local TEXT NOT NULL," /* YYYY-MM-DD HH:MM:SS, local time */
    " utc_offset INTEGER NOT NULL,"
    " seconds INTEGER NOT NULL,"
    " name TEXT NOT NULL,"
    " tel_fee INTEGER NOT NULL," /* ten-thousandths of a yuan */
    " net_fee INTEGER NOT NULL,"
    " call_units INTEGER NOT NULL,"
    " minutes_charged INTEGER NOT NULL,"
    " rx_bytes INTEGER,"
    " tx_bytes INTEGER,"
    " backend TEXT NOT NULL,"
    " imported INTEGER NOT NULL);"
    "CREATE INDEX connections_by_start ON connections(start_local);",
};
static_assert(std::size(kMigrations) == UsageArchive::kSchemaVersion);

constexpr const char* kColumns = "session_key, start_local, utc_offset, seconds, name, tel_fee, net_fee, "
                                 "call_units, minutes_charged, rx_bytes, tx_bytes, backend, imported";

class Statement {
public:
    Statement(sqlite3* db, const char* sql) { rc_ = sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr); }
    ~Statement() { sqlite3_finalize(stmt_); }
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    bool Ok() const { return rc_ == SQLITE_OK; }
    sqlite3_stmt* get() const { return stmt_; }
    void Text(int i, std::string_view s)
    {
        sqlite3_bind_text(stmt_, i, s.data(), int(s.size()), SQLITE_TRANSIENT);
    }
    void Int(int i, int64_t v) { sqlite3_bind_int64(stmt_, i, v); }
    void OptionalInt(int i, const std::optional<int64_t>& v)
    {
        if (v)
            Int(i, *v);
        else
            sqlite3_bind_null(stmt_, i);
    }
    int Step() { return sqlite3_step(stmt_); }
    int64_t ColumnInt(int i) const { return sqlite3_column_int64(stmt_, i); }
    std::string ColumnText(int i) const
    {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt_, i));
        return text ? std::string(text, size_t(sqlite3_column_bytes(stmt_, i))) : std::string();
    }
    std::optional<int64_t> ColumnOptionalInt(int i) const
    {
        if (sqlite3_column_type(stmt_, i) == SQLITE_NULL)
            return std::nullopt;
        return ColumnInt(i);
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
    int rc_ = SQLITE_OK;
};

std::string ArchiveError(sqlite3* db, const std::filesystem::path& file = {})
{
    const std::string why = db ? sqlite3_errmsg(db) : Tr("内存不足");
    return file.empty() ? Tr("使用记录存档出错：%1", {why})
                        : Tr("使用记录存档 %1出错：%2", {file.string(), why});
}

void SetError(std::string* error, std::string text)
{
    if (error)
        *error = std::move(text);
}

std::optional<int64_t> QueryInt(sqlite3* db, const char* sql)
{
    Statement st(db, sql);
    if (!st.Ok() || st.Step() != SQLITE_ROW)
        return std::nullopt;
    return st.ColumnInt(0);
}

bool InsertRow(sqlite3* db, const ArchivedConnection& c, std::string* error)
{
    // A connection taken over from time.txt and then stored by its own session
    // (a crash recovered on the start that created the archive) is one
    // connection: the imported row stands for it.
    static const std::string sql = std::string("INSERT OR IGNORE INTO connections (") + kColumns
        + ") SELECT ?1,?2,?3,?4,?5,?6,?7,?8,?9,?10,?11,?12,?13 WHERE NOT EXISTS (SELECT 1 FROM connections"
          " WHERE imported = 1 AND start_local = ?2 AND name = ?5)";
    Statement st(db, sql.c_str());
    if (!st.Ok()) {
        SetError(error, ArchiveError(db));
        return false;
    }
    st.Text(1, c.SessionKey);
    st.Text(2, GeneralDateText(c.Start));
    st.Int(3, c.UtcOffsetSeconds);
    st.Int(4, c.Seconds);
    st.Text(5, TrimChars(c.ConnectionName, " "));
    st.Int(6, c.TelFee.Raw());
    st.Int(7, c.NetFee.Raw());
    st.Int(8, c.CallUnits);
    st.Int(9, c.MinutesCharged);
    st.OptionalInt(10, c.ReceivedBytes);
    st.OptionalInt(11, c.SentBytes);
    st.Text(12, c.Backend);
    st.Int(13, c.Imported ? 1 : 0);
    if (st.Step() == SQLITE_DONE)
        return true;
    SetError(error, ArchiveError(db));
    return false;
}

bool IsDamageCode(int rc)
{
    rc &= 0xff;
    return rc == SQLITE_NOTADB || rc == SQLITE_CORRUPT || rc == SQLITE_FORMAT;
}

enum class Health { Usable, Damaged, Newer, Failed };

struct Prepared {
    Health State = Health::Failed;
    int Imported = 0;
    int Skipped = 0;
    std::string Error;
};

// Brings an opened database to the current schema: a new one is created and
// takes over time.txt in the same transaction, so a kill during the import
// leaves an empty file that imports again at the next start. A file that is
// not ours or does not read back whole is reported damaged; one written by a
// newer program is left alone.
Prepared Prepare(sqlite3* db, const std::filesystem::path& dataFolder)
{
    Prepared p;
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    auto fail = [&](int rc) {
        p.State = IsDamageCode(rc) ? Health::Damaged : Health::Failed;
        p.Error = ArchiveError(db);
        return p;
    };
    auto version = QueryInt(db, "PRAGMA user_version");
    if (!version)
        return fail(sqlite3_errcode(db));
    if (*version > UsageArchive::kSchemaVersion) {
        p.State = Health::Newer;
        p.Error = Tr("使用记录存档由较新版本的 Tollix 建立，本程序不会改动它。");
        return p;
    }
    // Nothing is written before the file is known to be ours: a file set aside
    // keeps the bytes it had.
    int rc = SQLITE_OK;
    if (*version > 0) {
        Statement check(db, "PRAGMA quick_check");
        if (!check.Ok())
            return fail(sqlite3_errcode(db));
        rc = check.Step();
        if (rc != SQLITE_ROW)
            return fail(rc);
        if (check.ColumnText(0) != "ok") {
            p.State = Health::Damaged;
            return p;
        }
        Statement probe(db, (std::string("SELECT ") + kColumns + " FROM connections LIMIT 1").c_str());
        if (!probe.Ok()) {
            p.State = Health::Damaged;
            return p;
        }
    } else if (QueryInt(db, "SELECT count(*) FROM sqlite_master").value_or(1) != 0) {
        p.State = Health::Damaged;  // some other program's database under our name
        return p;
    }
    rc = sqlite3_exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL;", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return fail(rc);
    if (*version == UsageArchive::kSchemaVersion) {
        p.State = Health::Usable;
        return p;
    }

    rc = sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        return fail(rc);
    auto rollback = [&](std::string error) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        p.State = Health::Failed;
        p.Error = std::move(error);
        return p;
    };
    for (auto v = size_t(*version); v < std::size(kMigrations); ++v) {
        if (sqlite3_exec(db, kMigrations[v], nullptr, nullptr, nullptr) != SQLITE_OK)
            return rollback(ArchiveError(db));
    }
    if (*version == 0) {
        std::string error;
        auto rows = ReadLogForImport(dataFolder / "time.txt", &p.Skipped, &error);
        if (!rows)
            return rollback(error);
        for (const ArchivedConnection& row : *rows) {
            if (!InsertRow(db, row, &error))
                return rollback(error);
            p.Imported += sqlite3_changes(db);
        }
    }
    const std::string setVersion = "PRAGMA user_version=" + std::to_string(UsageArchive::kSchemaVersion);
    if (sqlite3_exec(db, setVersion.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK
        || sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr) != SQLITE_OK)
        return rollback(ArchiveError(db));
    p.State = Health::Usable;
    return p;
}

// usage.sqlite.damaged, then .damaged-2, ...: an earlier damaged copy is never
// overwritten. The write-ahead log goes with its database, since it may hold
// the newest rows.
std::optional<std::filesystem::path> SetAside(const std::filesystem::path& file, std::string& error)
{
    std::filesystem::path target;
    std::error_code ec;
    for (int n = 1;; ++n) {
        target = file;
        target += n == 1 ? ".damaged" : ".damaged-" + std::to_string(n);
        if (!std::filesystem::exists(std::filesystem::symlink_status(target, ec)))
            break;
        if (n > 1000) {
            error = Tr("无法为损坏的使用记录存档找到新的文件名。");
            return std::nullopt;
        }
    }
    std::filesystem::rename(file, target, ec);
    if (ec) {
        error = Tr("无法将损坏的使用记录存档 %1 改名：%2", {file.string(), ec.message()});
        return std::nullopt;
    }
    for (const char* suffix : {"-wal", "-shm"}) {
        std::filesystem::path side = file;
        side += suffix;
        if (std::filesystem::exists(side, ec)) {
            std::filesystem::path sideTarget = target;
            sideTarget += suffix;
            std::filesystem::rename(side, sideTarget, ec);
        }
    }
    return target;
}

sqlite3* OpenFile(const std::filesystem::path& file, int flags, std::string& error)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(file.c_str(), &db, flags | SQLITE_OPEN_NOFOLLOW, nullptr);
    if (rc == SQLITE_OK)
        return db;
    error = ArchiveError(db, file);
    sqlite3_close(db);
    return nullptr;
}

ArchivedConnection ReadRow(const Statement& st)
{
    ArchivedConnection c;
    c.SessionKey = st.ColumnText(0);
    c.Start = ParseGeneralDate(st.ColumnText(1)).value_or(DateTime());
    c.UtcOffsetSeconds = int32_t(st.ColumnInt(2));
    c.Seconds = int32_t(st.ColumnInt(3));
    c.ConnectionName = st.ColumnText(4);
    c.TelFee = Money::FromRaw(st.ColumnInt(5));
    c.NetFee = Money::FromRaw(st.ColumnInt(6));
    c.CallUnits = int32_t(st.ColumnInt(7));
    c.MinutesCharged = int32_t(st.ColumnInt(8));
    c.ReceivedBytes = st.ColumnOptionalInt(9);
    c.SentBytes = st.ColumnOptionalInt(10);
    c.Backend = st.ColumnText(11);
    c.Imported = st.ColumnInt(12) != 0;
    return c;
}

}  // namespace

UsageArchive::UsageArchive(sqlite3* db)
    : db_(db)
{ }

UsageArchive::~UsageArchive()
{
    sqlite3_close(db_);
}

UsageArchive::OpenResult UsageArchive::OpenForWriting(const std::filesystem::path& dataFolder)
{
    OpenResult result;
    const std::filesystem::path file = dataFolder / kUsageArchiveFileName;
    std::error_code ec;
    const auto status = std::filesystem::symlink_status(file, ec);
    if (std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
        result.Error = Tr("使用记录存档 %1 不是普通文件，未作改动。", {file.string()});
        return result;
    }
    for (int attempt = 0; attempt < 2; ++attempt) {
        sqlite3* db = OpenFile(file, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, result.Error);
        if (!db)
            return result;
        Prepared p = Prepare(db, dataFolder);
        if (p.State == Health::Usable) {
            result.Archive.reset(new UsageArchive(db));
            result.ImportedLines = p.Imported;
            result.SkippedLines = p.Skipped;
            result.Error.clear();
            return result;
        }
        sqlite3_close(db);
        if (p.State != Health::Damaged || attempt > 0) {
            result.Error = p.Error.empty() ? Tr("使用记录存档 %1 无法使用。", {file.string()}) : p.Error;
            return result;
        }
        auto target = SetAside(file, result.Error);
        if (!target)
            return result;
        result.Notice = Tr("使用记录存档 %1 已损坏，已改名为 %2 保存，并根据连接记录重新建立了使用记录存档。",
            {file.string(), target->filename().string()});
    }
    return result;
}

bool UsageArchive::Exists(const std::filesystem::path& dataFolder)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(dataFolder / kUsageArchiveFileName, ec));
}

bool UsageArchive::ImportWaits(const std::filesystem::path& dataFolder)
{
    std::error_code ec;
    return !Exists(dataFolder) && std::filesystem::exists(dataFolder / "time.txt", ec);
}

std::unique_ptr<UsageArchive> UsageArchive::OpenReadOnly(
    const std::filesystem::path& file, std::string* error)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(file, ec)) {
        SetError(error, Tr("没有找到使用记录存档 %1。", {file.string()}));
        return nullptr;
    }
    std::string message;
    sqlite3* db = OpenFile(file, SQLITE_OPEN_READONLY, message);
    if (!db) {
        SetError(error, message);
        return nullptr;
    }
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    auto version = QueryInt(db, "PRAGMA user_version");
    if (!version || *version < 1) {
        SetError(error,
            version ? Tr("使用记录存档 %1 是空的或不是 Tollix 的使用记录存档。", {file.string()})
                    : ArchiveError(db, file));
        sqlite3_close(db);
        return nullptr;
    }
    return std::unique_ptr<UsageArchive>(new UsageArchive(db));
}

bool UsageArchive::Store(const ArchivedConnection& connection, std::string* error)
{
    return InsertRow(db_, connection, error);
}

std::optional<std::vector<ArchivedConnection>> UsageArchive::Query(
    DateTime from, DateTime to, std::string* error) const
{
    return Select(" WHERE start_local >= ? AND start_local < ?", &from, &to, error);
}

std::optional<std::vector<ArchivedConnection>> UsageArchive::QueryAll(std::string* error) const
{
    return Select("", nullptr, nullptr, error);
}

std::optional<std::vector<ArchivedConnection>> UsageArchive::Select(
    const char* where, const DateTime* from, const DateTime* to, std::string* error) const
{
    const std::string sql
        = std::string("SELECT ") + kColumns + " FROM connections" + where + " ORDER BY start_local, id";
    Statement st(db_, sql.c_str());
    if (!st.Ok()) {
        SetError(error, ArchiveError(db_));
        return std::nullopt;
    }
    if (from && to) {
        st.Text(1, GeneralDateText(*from));
        st.Text(2, GeneralDateText(*to));
    }
    std::vector<ArchivedConnection> rows;
    int rc = 0;
    while ((rc = st.Step()) == SQLITE_ROW)
        rows.push_back(ReadRow(st));
    if (rc != SQLITE_DONE) {
        SetError(error, ArchiveError(db_));
        return std::nullopt;
    }
    return rows;
}

int64_t UsageArchive::Count(std::string* error) const
{
    auto n = QueryInt(db_, "SELECT count(*) FROM connections");
    if (!n)
        SetError(error, ArchiveError(db_));
    return n.value_or(0);
}

std::optional<std::vector<ArchivedConnection>> ReadLogForImport(
    const std::filesystem::path& timeTxt, int* skipped, std::string* error)
{
    LogReadAllResult log = ReadEveryLogEntry(timeTxt);
    if (skipped)
        *skipped = log.DamagedLines;
    if (!log.Error.empty()) {
        SetError(error, log.Error);
        return std::nullopt;
    }
    std::vector<ArchivedConnection> rows;
    rows.reserve(log.Entries.size());
    for (const ConnectionLogEntry& entry : log.Entries) {
        ArchivedConnection c;
        c.ConnectionName = std::string(TrimChars(entry.ConnectionName, " "));
        c.Start = entry.StartTime;
        // Start and name tell one connection from another; a line repeated
        // in the log is still one connection.
        c.SessionKey = "time.txt:" + GeneralDateText(entry.StartTime) + " " + c.ConnectionName;
        c.UtcOffsetSeconds = UtcOffsetSeconds(entry.StartTime);
        c.Seconds = entry.Seconds;
        c.TelFee = entry.TelFee;
        c.NetFee = entry.NetFee;
        c.CallUnits = entry.CallUnits;
        c.Imported = true;
        rows.push_back(std::move(c));
    }
    return rows;
}

}  // namespace tollix
