#include "ui/WindowRegistry.h"

#include "ui/FrmMain.h"

namespace tollix {

void RegisterWindows()
{
}

}  // namespace tollix
