// The command-line front. --help, --version and --check never create a
// QApplication, so they work without a display.
#include <algorithm>
#include <cstring>
#include <iostream>
#include <string_view>
#include <vector>

#include "base/Clock.h"
#include "base/DataFolder.h"
#include "base/Translation.h"
#include "dialup/CheckCommand.h"
#include "dialup/DialupService.h"
#include "gui/Application.h"
#include "gui/common/Translations.h"
#include "history/ReportCommand.h"

namespace {

void PrintHelp(std::ostream& out)
{
    using tollix::Tr;
    // One text per line, with the option names outside it, so that the
    // columns line up in every language.
    out << Tr("用法：tollix [选项]") << "\n"
        << Tr("Tollix：拨号上网计时计费器。") << "\n\n"
        << Tr("选项：") << "\n"
        << "  --demo      " << Tr("使用模拟的演示线路，数据放在单独的文件夹里，不影响真实的统计") << "\n"
        << "  --check     " << Tr("不打开窗口，显示数据文件夹、拨号方式、电话簿中的连接和当前连接状态")
        << "\n"
        << "  report      " << Tr("不打开窗口，按天、周、月、年或连接统计用时和费用（tollix report --help）")
        << "\n"
        << "  --help      " << Tr("显示本帮助后退出") << "\n"
        << "  --version   " << Tr("显示版本后退出") << "\n\n"
        << Tr("环境变量：") << "\n"
        << "  TOLLIX_HOME      " << Tr("数据文件夹（默认为 ~/.local/share/tollix）") << "\n"
        << "  TOLLIX_PPP_ROOT  "
        << Tr("在这个文件夹下读取 etc/ppp/peers、sys/class/net、run 和 proc（测试用）") << "\n";
}

}  // namespace

int main(int argc, char* argv[])
{
    tollix::LoadTranslations();
    bool demo = false;
    bool check = false;
    bool help = false;
    bool version = false;
    // "report" takes the rest of the command line as its own.
    const bool report = argc > 1 && std::string_view(argv[1]) == "report";
    std::vector<std::string> reportArgs;
    if (report)
        reportArgs.assign(argv + 2, argv + argc);
    // Arguments we do not know are left for Qt (-platform, -style, ...), except
    // a mistyped long option, which is better refused than silently ignored.
    std::vector<char*> rest{argv[0]};
    for (int i = report ? argc : 1; i < argc; ++i) {
        std::string_view arg = argv[i];
        if (arg == "--demo")
            demo = true;
        else if (arg == "--check")
            check = true;
        else if (arg == "--help" || arg == "-h")
            help = true;
        else if (arg == "--version" || arg == "-v")
            version = true;
        else if (arg.starts_with("--")) {
            std::cerr << tollix::Tr("tollix：无法识别的选项“%1”", {arg}) << "\n"
                      << tollix::Tr("请用 tollix --help 查看可用的选项。") << "\n";
            return 2;
        } else
            rest.push_back(argv[i]);
    }
    if (help) {
        PrintHelp(std::cout);
        return 0;
    }
    if (version) {
        std::cout << "Tollix " << TOLLIX_VERSION_MAJOR << "." << TOLLIX_VERSION_MINOR << "\n";
        return 0;
    }

    if (report && std::find(reportArgs.begin(), reportArgs.end(), "--help") == reportArgs.end()
        && std::find(reportArgs.begin(), reportArgs.end(), "-h") == reportArgs.end()) {
        std::string error;
        auto folder = tollix::ResolveDataFolder(false, tollix::ExecutableDir(argv[0]), &error);
        if (folder.empty()) {
            std::cerr << tollix::Tr("tollix report：%1", {error}) << "\n";
            return 1;
        }
        return tollix::RunReport(reportArgs, std::cout, std::cerr, folder, tollix::SystemClock().Now());
    }
    if (report)
        return tollix::RunReport(reportArgs, std::cout, std::cerr, {}, tollix::SystemClock().Now());

    tollix::StartOptions options;
    options.demo = demo;
    options.executableDir = tollix::ExecutableDir(argv[0]);
    std::string error;
    options.dataFolder = tollix::ResolveDataFolder(demo, options.executableDir, &error);
    if (options.dataFolder.empty()) {
        std::cerr << tollix::Tr("tollix：%1", {error}) << "\n";
        return 1;
    }

    if (check) {
        tollix::SystemClock clock;
        auto service = tollix::CreateDialupService(demo, clock);
        return tollix::RunCheck(std::cout, std::cerr, *service, options.dataFolder);
    }

    // The windows: provided by the application layer.
    int restCount = int(rest.size());
    rest.push_back(nullptr);
    return tollix::RunApplication(restCount, rest.data(), options);
}
