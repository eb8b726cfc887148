// libtollix_charts.so: the only code that links Qt Charts.
#include "gui/charts/FrmCharts.h"

extern "C" Q_DECL_EXPORT QWidget* TollixCreateCharts(tollix::Program& program, const tollix::Clock& clock)
{
    return new tollix::FrmCharts(program, clock);
}
