#include "ui/WindowRegistry.h"

#include "ui/FrmMain.h"
#include "config/FrmSettings.h"
#include "dialup/FrmDialUp.h"
#include "history/FrmHistory.h"

namespace tollix {

void RegisterWindows()
{
    FrmMain::SetSettingsOpener([](FrmMain& main) { FrmSettings::OpenFrom(main, main.ClockSource(), main.Sound()); });
    FrmMain::SetHistoryOpener([](FrmMain& main) { ShowHistoryWindow(main); });
    FrmMain::SetDialOpener([](FrmMain& main) { FrmDialUp::ShowShared(main.ProgramState(), main.Dialup(), &main); });
}

}  // namespace tollix
