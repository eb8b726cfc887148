// The pppd backend reading a world built from the input under a fixture root:
// an interface's type and flags, its pid file, the pppd's comm and cmdline, and
// a phonebook entry. Input: interface name, type, flags, pid file, comm and
// peer name separated by NUL bytes, then the cmdline (which holds NULs itself).
// Nothing here hangs up or dials: those would reach real processes.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "FuzzSupport.h"
#include "dialup/PppdDialupService.h"

using namespace tollix;

namespace {

// A name usable as one path component, or `fallback`.
std::string FileName(std::string_view name, std::string_view fallback)
{
    if (name.empty() || name.size() > 200 || name == "." || name == ".."
        || name.find('/') != std::string_view::npos)
        return std::string(fallback);
    return std::string(name);
}

// The first run of digits in the pid file, so that the process folder is
// usually where the backend will look; 4242 when there is none.
std::string ProcessFolderName(std::string_view pidFile)
{
    size_t begin = pidFile.find_first_of("0123456789");
    if (begin == std::string_view::npos)
        return "4242";
    size_t end = pidFile.find_first_not_of("0123456789", begin);
    return std::string(pidFile.substr(
        begin, std::min<size_t>(end == std::string_view::npos ? pidFile.size() : end, begin + 12) - begin));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto f = fuzz::SplitFields(std::string_view(reinterpret_cast<const char*>(data), size), 7);
    const std::string interface = FileName(f[0], "ppp0");
    const std::string process = ProcessFolderName(f[3]);
    const std::string peer = FileName(f[5], "provider");

    namespace fs = std::filesystem;
    const fs::path root = fuzz::ScratchFolder() / "root";
    fs::remove_all(root);
    fs::create_directories(root / "etc/ppp/peers");
    fs::create_directories(root / "sys/class/net" / interface);
    fs::create_directories(root / "sys/class/net/lo");
    fs::create_directories(root / "run");
    fs::create_directories(root / "proc" / process);
    fuzz::WriteFile(root / "etc/ppp/peers" / peer, "");
    fuzz::WriteFile(root / "sys/class/net" / interface / "type", f[1]);
    fuzz::WriteFile(root / "sys/class/net" / interface / "flags", f[2]);
    fuzz::WriteFile(root / "sys/class/net/lo/type", "772\n");
    fuzz::WriteFile(root / "sys/class/net/lo/flags", "0x9\n");
    fuzz::WriteFile(root / "run" / (interface + ".pid"), f[3]);
    fuzz::WriteFile(root / "proc" / process / "comm", f[4]);
    fuzz::WriteFile(root / "proc" / process / "cmdline", f[6]);

    PppdDialupService service(root);
    const bool connected = service.IsConnected();
    const std::string name = service.GetDefaultConnection();
    TOLLIX_FUZZ_CHECK(
        name.empty() || connected, "a connection name \"%s\" while no line is up", name.c_str());
    for (unsigned char c : name)
        TOLLIX_FUZZ_CHECK(c >= 0x20 && c != 0x7f, "a control character in the connection name");
    // The second look goes through the interface type cache.
    TOLLIX_FUZZ_CHECK(service.IsConnected() == connected, "the second look differs");

    const PhonebookResult book = service.Phonebook();
    TOLLIX_FUZZ_CHECK(book.Readable, "phonebook unreadable: %s", book.Error.c_str());
    TOLLIX_FUZZ_CHECK(std::is_sorted(book.Entries.begin(), book.Entries.end()), "phonebook not sorted");
    for (const std::string& entry : book.Entries)
        TOLLIX_FUZZ_CHECK(
            PppdDialupService::IsAcceptableEntryName(entry), "entry \"%s\" listed", entry.c_str());
    TOLLIX_FUZZ_CHECK(book.Entries.size() == (PppdDialupService::IsAcceptableEntryName(peer) ? 1u : 0u),
        "peer \"%s\" listed %zu times", peer.c_str(), book.Entries.size());
    return 0;
}
