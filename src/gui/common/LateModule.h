#pragma once

#include <QFunctionPointer>
#include <QString>

namespace tollix {

// A function of one of the program's own modules (libtollix_sound.so,
// libtollix_print.so, libtollix_charts.so), loaded the first time it is
// needed: what they link (Qt Multimedia with PulseAudio and its codecs, Qt
// Print Support with CUPS, Qt Charts with OpenGL) would otherwise be mapped
// into the meter for its whole run while most runs never play a sound, print
// or draw a chart. The module is looked for next to the program,
// then where it is installed, then in the build tree. Null when it cannot be
// loaded; `error` then says why.
QFunctionPointer LateModuleFunction(const char* module, const char* symbol, QString* error = nullptr);

}  // namespace tollix
