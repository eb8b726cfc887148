#pragma once

#include <QString>
#include <string>

namespace tollix {

// The engine's texts are UTF-8 std::strings; windows show them as QString.
inline QString Q(const std::string& text)
{
    return QString::fromStdString(text);
}

}  // namespace tollix
