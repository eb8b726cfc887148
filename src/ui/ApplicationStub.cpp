// TEMPORARY: stands in for the real window start-up until it is written.
// Delete this file (and its line in CMakeLists.txt) when RunApplication exists.
#include <iostream>

#include "ui/Application.h"

namespace tollix {

int RunApplication(int, char*[], const StartOptions&)
{
    std::cerr << "图形界面尚未完成\n";
    return 1;
}

}  // namespace tollix
