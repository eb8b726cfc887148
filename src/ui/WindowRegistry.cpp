#include "ui/WindowRegistry.h"

#include "ui/FrmMain.h"
#include "dialup/FrmDialUp.h"

namespace tollix {

void RegisterWindows()
{
    FrmMain::SetDialOpener([](FrmMain& main) { FrmDialUp::ShowShared(main.ProgramState(), main.Dialup(), &main); });
}

}  // namespace tollix
