#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

namespace tollix {

// The engine's texts are written in Chinese, which is also what the program
// shows unless a front end installs a translator. A text is its own key, so a
// missing translation can only ever fall back to the Chinese original.
using TextTranslator = std::string (*)(const char* text);
void SetTextTranslator(TextTranslator translator);

// The text in the user's language. Placeholders %1 to %9 take the arguments
// in order, after translation: a translation may move them around, and an
// argument (a connection's name, a path) is never itself translated or
// searched for placeholders.
// A text holds no line break: Qt Linguist files keep the text in an XML
// attribute, where a line break reads back as a space and the lookup misses.
// Lines are translated one by one and joined with "\n".
std::string Tr(const char* text);
std::string Tr(const char* text, std::initializer_list<std::string_view> args);

}  // namespace tollix
