// What the main window's one-second timer costs, without the window: the idle
// tick runs all day long and must stay far below a millisecond; the connected
// tick runs once a second for as long as the line is up.

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "ManualClock.h"
#include "base/Clock.h"
#include "dialup/DialupFixture.h"
#include "dialup/PppdDialupService.h"
#include "meter/ConnectionSession.h"
#include "meter/Program.h"

namespace {

using tollix::test::PppWorld;
using tollix::test::TempFolder;

constexpr int kPppdPid = 4242;

// A machine with a loopback, an Ethernet card and a PPP link, up or down, and
// the data folder of a program that has started on it.
struct Meter {
    explicit Meter(bool lineUp)
    {
        world.AddPeer("Home");
        world.AddPeer("Work");
        world.SetInterface("lo", 772, "0x9");
        world.SetInterface("eth0", 1, "0x1003");
        world.SetInterface("ppp0", 512, lineUp ? "0x1091" : "0x1090");
        if (lineUp) {
            world.SetPidFile("ppp0.pid", std::to_string(kPppdPid) + "\n");
            world.SetProcess(kPppdPid, "pppd", {"/usr/sbin/pppd", "call", "Home"});
        }
        service = std::make_unique<tollix::PppdDialupService>(world.Root());
        program = std::make_unique<tollix::Program>(data.Path());
        tollix::LoadSettings(*program, service->Phonebook().Entries, clock.Now());
        std::string error;
        if (!tollix::OpenStatistics(*program, clock.Now(), &error))
            std::abort();
        session = std::make_unique<tollix::ConnectionSession>(*program, clock);
    }

    PppWorld world;
    TempFolder data;
    tollix::ManualClock clock{*tollix::DateTime::FromCivil(2026, 12, 7, 20, 0, 0)};
    std::unique_ptr<tollix::PppdDialupService> service;
    std::unique_ptr<tollix::Program> program;
    std::unique_ptr<tollix::ConnectionSession> session;
};

// The status bar's clock text, the line check, and nothing more while idle.
void BM_IdleTick(benchmark::State& state)
{
    Meter meter(false);
    tollix::SystemClock wallClock;
    for (auto _ : state) {
        std::string panel = "当前系统时间：" + tollix::DateTimeText(wallClock.Now());
        benchmark::DoNotOptimize(panel);
        const bool connected = meter.service->IsConnected();
        if (connected || !meter.session->Idle())
            state.SkipWithError("the line should be down");
    }
}
BENCHMARK(BM_IdleTick);

// One connected tick as the window does it: line check, connection name, the
// session's charging, and the texts of the labels that changed.
void ConnectedTick(Meter& meter, tollix::SystemClock& wallClock)
{
    std::string panel = "当前系统时间：" + tollix::DateTimeText(wallClock.Now());
    benchmark::DoNotOptimize(panel);
    const bool connected = meter.service->IsConnected();
    const std::string name = connected ? meter.service->GetDefaultConnection() : std::string();
    tollix::TickResult result = meter.session->Tick(connected, name);
    if (result.UnitCharged)
        benchmark::DoNotOptimize(meter.session->TelFeeLabel());
    if (result.MinuteCharged) {
        benchmark::DoNotOptimize(meter.session->NetFeeLabel());
        benchmark::DoNotOptimize(meter.session->TotalPriceLabel());
    }
    benchmark::DoNotOptimize(meter.session->DurationLabel());
    benchmark::DoNotOptimize(meter.session->CurrentName());
}

// Ticks within one second: nothing new to charge, the steady cost of a tick.
void BM_ConnectedTick_NothingCharged(benchmark::State& state)
{
    Meter meter(true);
    tollix::SystemClock wallClock;
    ConnectedTick(meter, wallClock);  // opens the session
    for (auto _ : state)
        ConnectedTick(meter, wallClock);
    state.counters["minutes_charged"] = meter.session->State().MinutesCharged;
}
BENCHMARK(BM_ConnectedTick_NothingCharged);

// One tick per simulated second, as on a real line: every 60th tick charges a
// minute and every 180th a call unit, each rewriting the crash journal (with
// fsync), so this is the average over a real connection.
void BM_ConnectedTick_EverySecond(benchmark::State& state)
{
    Meter meter(true);
    tollix::SystemClock wallClock;
    for (auto _ : state) {
        ConnectedTick(meter, wallClock);
        meter.clock.Advance(1);
    }
    state.counters["minutes_charged"] = meter.session->State().MinutesCharged;
    if (!meter.session->Tick(false, "").Error.empty())
        state.SkipWithError("the session could not be recorded");
}
BENCHMARK(BM_ConnectedTick_EverySecond);

}  // namespace
