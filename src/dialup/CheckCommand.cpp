#include "dialup/CheckCommand.h"

#include "base/Translation.h"
#include "dialup/NetworkManagerDialupService.h"

namespace tollix {

int RunCheck(
    std::ostream& out, std::ostream& err, DialupService& service, const std::filesystem::path& dataFolder)
{
    out << Tr("数据文件夹：%1", {dataFolder.string()}) << "\n";
    out << (service.BackendName() == "demo" ? Tr("拨号方式：%1（演示线路）", {service.BackendName()})
                                            : Tr("拨号方式：%1", {service.BackendName()}))
        << "\n";
    if (service.BackendName() == "pppd") {
        // Said so that a user who expects their NetworkManager profiles knows
        // why they are missing.
        SystemClock clock;
        NetworkManagerDialupService probe(clock);
        if (!probe.Available())
            out << Tr("NetworkManager：未使用（%1）", {probe.AbsenceReason()}) << "\n";
    }
    if (std::string location = service.PhonebookLocation(); !location.empty())
        out << Tr("电话簿位置：%1", {location}) << "\n";

    PhonebookResult book = service.Phonebook();
    int status = 0;
    if (!book.Readable) {
        out << Tr("拨号网络电话簿：无法读取") << "\n";
        err << book.Error << "\n";
        status = 1;
    } else if (book.Entries.empty()) {
        out << Tr("拨号网络电话簿：没有连接（本软件需要至少一个拨号连接）") << "\n";
    } else {
        out << Tr("拨号网络电话簿（%1 个连接）：", {std::to_string(book.Entries.size())}) << "\n";
        for (const std::string& entry : book.Entries) {
            const std::string description = service.DescribeEntry(entry);
            out << "  " << (description.empty() ? entry : Tr("%1（%2）", {entry, description})) << "\n";
        }
    }

    if (service.IsConnected()) {
        std::string name = service.GetDefaultConnection();
        out << Tr("连接状态：已连接（%1）", {name.empty() ? Tr("连接名称未知") : name}) << "\n";
    } else {
        out << Tr("连接状态：未连接") << "\n";
    }
    out.flush();
    return status;
}

}  // namespace tollix
