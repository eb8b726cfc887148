#include "dialup/CheckCommand.h"

#include "dialup/NetworkManagerDialupService.h"

namespace tollix {

int RunCheck(
    std::ostream& out, std::ostream& err, DialupService& service, const std::filesystem::path& dataFolder)
{
    out << "数据文件夹：" << dataFolder.string() << "\n";
    out << "拨号方式：" << service.BackendName();
    if (service.BackendName() == "demo")
        out << "（演示线路）";
    out << "\n";
    if (service.BackendName() == "pppd") {
        // Said so that a user who expects their NetworkManager profiles knows
        // why they are missing.
        SystemClock clock;
        NetworkManagerDialupService probe(clock);
        if (!probe.Available())
            out << "NetworkManager：未使用（" << probe.AbsenceReason() << "）\n";
    }
    if (std::string location = service.PhonebookLocation(); !location.empty())
        out << "电话簿位置：" << location << "\n";

    PhonebookResult book = service.Phonebook();
    int status = 0;
    if (!book.Readable) {
        out << "拨号网络电话簿：无法读取\n";
        err << book.Error << "\n";
        status = 1;
    } else if (book.Entries.empty()) {
        out << "拨号网络电话簿：没有连接（本软件需要至少一个拨号连接）\n";
    } else {
        out << "拨号网络电话簿（" << book.Entries.size() << " 个连接）：\n";
        for (const std::string& entry : book.Entries) {
            out << "  " << entry;
            if (std::string description = service.DescribeEntry(entry); !description.empty())
                out << "（" << description << "）";
            out << "\n";
        }
    }

    if (service.IsConnected()) {
        std::string name = service.GetDefaultConnection();
        out << "连接状态：已连接（" << (name.empty() ? std::string("连接名称未知") : name) << "）\n";
    } else {
        out << "连接状态：未连接\n";
    }
    out.flush();
    return status;
}

}  // namespace tollix
