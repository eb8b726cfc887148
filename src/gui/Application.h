#pragma once

#include <filesystem>

namespace tollix {

struct StartOptions {
    bool demo = false;
    std::filesystem::path dataFolder;
    std::filesystem::path executableDir;
};

int RunApplication(int argc, char* argv[], const StartOptions&);

}  // namespace tollix
