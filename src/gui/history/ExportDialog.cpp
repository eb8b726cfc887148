#include "gui/history/ExportDialog.h"

#include <algorithm>

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

#include "gui/common/EngineText.h"
#include "gui/common/MessageBoxes.h"
#include "history/HistoryExport.h"
#include "history/UsageArchive.h"

namespace tollix {

namespace {

const char* const kUtf8Filter = QT_TRANSLATE_NOOP("ExportDialog", "CSV 文件，UTF-8 (*.csv)");
const char* const kGbkFilter
    = QT_TRANSLATE_NOOP("ExportDialog", "CSV 文件，GBK 编码，供旧版电子表格使用 (*.csv)");

// The bytes are a bonus of the export: an archive that cannot be read leaves
// them unknown rather than stopping it.
std::vector<LinkBytes> MeasuredBytes(
    const std::filesystem::path& dataFolder, const std::vector<ConnectionLogEntry>& entries)
{
    const std::filesystem::path file = dataFolder / kUsageArchiveFileName;
    std::error_code ec;
    if (entries.empty() || !std::filesystem::exists(file, ec))
        return {};
    const auto [first, last] = std::minmax_element(
        entries.begin(), entries.end(), [](const ConnectionLogEntry& a, const ConnectionLogEntry& b) {
            return a.StartTime.Days() < b.StartTime.Days();
        });
    std::unique_ptr<UsageArchive> archive = UsageArchive::OpenReadOnly(file);
    if (!archive)
        return {};
    const auto archived = archive->Query(first->StartTime, last->StartTime.AddSeconds(1));
    return archived ? ArchivedBytes(entries, *archived) : std::vector<LinkBytes>{};
}

}  // namespace

void ExportHistory(
    QWidget* parent, const std::filesystem::path& dataFolder, const std::vector<ConnectionLogEntry>& entries)
{
    const QString utf8Filter = QCoreApplication::translate("ExportDialog", kUtf8Filter);
    const QString gbkFilter = QCoreApplication::translate("ExportDialog", kGbkFilter);
    QString filter = utf8Filter;
    QString path
        = QFileDialog::getSaveFileName(parent, QCoreApplication::translate("ExportDialog", "导出记录"),
            QDir::home().filePath(QCoreApplication::translate("ExportDialog", "上网历史记录.csv")),
            utf8Filter + ";;" + gbkFilter, &filter);
    if (path.isEmpty())
        return;
    if (QFileInfo(path).suffix().isEmpty())
        path += ".csv";
    const CsvEncoding encoding = filter == gbkFilter ? CsvEncoding::Gbk : CsvEncoding::Utf8WithBom;
    std::string error;
    if (!ExportHistoryCsv(path.toStdString(), entries, MeasuredBytes(dataFolder, entries), encoding, &error))
        ShowMessage(parent, "Tollix",
            QCoreApplication::translate("ExportDialog", "导出失败，文件没有保存。") + "\n" + Q(error),
            QMessageBox::Warning);
}

}  // namespace tollix
