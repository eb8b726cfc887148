#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <memory>

#include "ManualClock.h"
#include "meter/Program.h"

namespace tollix {

// A data folder set up for connections "Home" and "Work" at `now`, with a clock
// that stays there. Kept in memory-backed storage where there is one, so that
// filling it does not wait for the disk at every connection.
struct WindowBenchmarkFolder {
    explicit WindowBenchmarkFolder(DateTime now)
        : clock(now)
    {
        program = std::make_unique<Program>(dir.path().toStdString());
        LoadSettings(*program, {"Home", "Work"}, now);
    }

    QTemporaryDir dir{QDir("/dev/shm").exists() ? "/dev/shm/tollix-bench-XXXXXX"
                                                : QDir::tempPath() + "/tollix-bench-XXXXXX"};
    std::unique_ptr<Program> program;
    ManualClock clock;
};

// The main of a window benchmark: the windows need an application, offscreen
// unless a platform is asked for.
inline int RunWindowBenchmarks(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

}  // namespace tollix
