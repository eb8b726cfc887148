#include "gui/WindowRegistry.h"

#include "gui/dialup/FrmDialUp.h"
#include "gui/history/FrmHistory.h"
#include "gui/main/FrmMain.h"
#include "gui/settings/FrmSettings.h"

namespace tollix {

void RegisterWindows()
{
    FrmMain::SetSettingsOpener(
        [](FrmMain& main) { FrmSettings::OpenFrom(main, main.ClockSource(), main.Sound()); });
    FrmMain::SetHistoryOpener([](FrmMain& main) { ShowHistoryWindow(main); });
    FrmMain::SetDialOpener(
        [](FrmMain& main) { FrmDialUp::ShowShared(main.ProgramState(), main.Dialup(), &main); });
}

}  // namespace tollix
