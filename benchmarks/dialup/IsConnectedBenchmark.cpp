// IsConnected runs once a second all day: it should cost about as much as
// listing the interface folder, and must not allocate. The NetworkManager
// backend, kept current by signals, should cost one non-blocking read of its
// bus socket on a quiet second.

#include <benchmark/benchmark.h>

#include <dirent.h>
#include <malloc.h>
#include <stdlib.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "ManualClock.h"
#include "dialup/CombinedDialupService.h"
#include "dialup/NetworkManagerDialupService.h"
#include "dialup/NetworkManagerMock.h"
#include "dialup/PppdDialupService.h"

namespace {

std::atomic<long> allocations{0};

class Fixture {
public:
    explicit Fixture(bool pppUp)
    {
        std::string templ = (std::filesystem::temp_directory_path() / "tollix-bench-XXXXXX").string();
        if (!::mkdtemp(templ.data()))
            std::abort();
        root_ = templ;
        Interface("lo", 772, "0x9");
        Interface("eth0", 1, "0x1003");
        Interface("ppp0", 512, pppUp ? "0x1091" : "0x1090");
    }
    ~Fixture() { std::filesystem::remove_all(root_); }
    const std::filesystem::path& Root() const { return root_; }
    std::filesystem::path Net() const { return root_ / "sys/class/net"; }

private:
    void Interface(const std::string& name, int type, const char* flags)
    {
        std::filesystem::create_directories(Net() / name);
        std::ofstream(Net() / name / "type") << type << "\n";
        std::ofstream(Net() / name / "flags") << flags << "\n";
    }
    std::filesystem::path root_;
};

void BareReaddir(benchmark::State& state, const std::string& dirPath)
{
    long allocationsBefore = allocations.load();
    for (auto _ : state) {
        DIR* dir = ::opendir(dirPath.c_str());
        int count = 0;
        while (const dirent* e = ::readdir(dir))
            count += e->d_name[0] != '.';
        ::closedir(dir);
        benchmark::DoNotOptimize(count);
    }
    state.counters["mallocs"] = double(allocations.load() - allocationsBefore);
}

void IsConnected(benchmark::State& state, tollix::DialupService& service)
{
    benchmark::DoNotOptimize(service.IsConnected());  // first sight of the interfaces
    long allocationsBefore = allocations.load();
    size_t heapBefore = ::mallinfo2().uordblks;
    for (auto _ : state)
        benchmark::DoNotOptimize(service.IsConnected());
    state.counters["mallocs"] = double(allocations.load() - allocationsBefore);
    state.counters["heap_growth_bytes"] = double(::mallinfo2().uordblks - heapBefore);
}

void BM_BareReaddir_Fixture(benchmark::State& state)
{
    Fixture fixture(true);
    BareReaddir(state, fixture.Net().string());
}
BENCHMARK(BM_BareReaddir_Fixture);

void BM_IsConnected_Fixture_Up(benchmark::State& state)
{
    Fixture fixture(true);
    tollix::PppdDialupService service(fixture.Root());
    IsConnected(state, service);
}
BENCHMARK(BM_IsConnected_Fixture_Up);

void BM_IsConnected_Fixture_Down(benchmark::State& state)
{
    Fixture fixture(false);
    tollix::PppdDialupService service(fixture.Root());
    IsConnected(state, service);
}
BENCHMARK(BM_IsConnected_Fixture_Down);

// NetworkManager (python3-dbusmock on a private bus) with a PPPoE profile up.
void NetworkManagerCase(benchmark::State& state, bool combined)
{
    if (std::string missing = tollix::test::NetworkManagerMock::Missing(); !missing.empty()) {
        state.SkipWithError(missing.c_str());
        return;
    }
    tollix::test::NetworkManagerMock nm;
    nm.Activate(nm.AddProfile("宽带连接", "pppoe"));
    tollix::ManualClock clock;
    Fixture fixture(true);
    std::unique_ptr<tollix::DialupService> service
        = std::make_unique<tollix::NetworkManagerDialupService>(clock);
    if (combined)
        service = std::make_unique<tollix::CombinedDialupService>(
            std::make_unique<tollix::NetworkManagerDialupService>(clock),
            std::make_unique<tollix::PppdDialupService>(fixture.Root()));
    if (!tollix::test::Eventually([&] { return service->IsConnected(); })) {
        state.SkipWithError("the mock's connection never came up");
        return;
    }
    IsConnected(state, *service);
}

void BM_IsConnected_NetworkManager_Up(benchmark::State& state)
{
    NetworkManagerCase(state, false);
}
BENCHMARK(BM_IsConnected_NetworkManager_Up);

void BM_IsConnected_NetworkManagerAndPppd_Up(benchmark::State& state)
{
    NetworkManagerCase(state, true);
}
BENCHMARK(BM_IsConnected_NetworkManagerAndPppd_Up);

void BM_BareReaddir_System(benchmark::State& state)
{
    BareReaddir(state, "/sys/class/net");
}
BENCHMARK(BM_BareReaddir_System);

void BM_IsConnected_System(benchmark::State& state)
{
    tollix::PppdDialupService service("/");
    IsConnected(state, service);
}
BENCHMARK(BM_IsConnected_System);

}  // namespace

// Counts every allocation, C++ and C alike, by passing malloc through to
// glibc's own; the memory stays glibc's, so its free is still the right one.
extern "C" void* __libc_malloc(size_t size);
extern "C" void* malloc(size_t size)
{
    allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}
