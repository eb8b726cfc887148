#include "base/Translation.h"

#include <atomic>

namespace tollix {

namespace {

std::atomic<TextTranslator> currentTranslator{nullptr};

}  // namespace

void SetTextTranslator(TextTranslator translator)
{
    currentTranslator.store(translator);
}

std::string Tr(const char* text)
{
    TextTranslator translator = currentTranslator.load();
    if (translator == nullptr)
        return text;
    std::string translated = translator(text);
    return translated.empty() ? std::string(text) : translated;
}

std::string Tr(const char* text, std::initializer_list<std::string_view> args)
{
    const std::string pattern = Tr(text);
    std::string result;
    result.reserve(pattern.size() + 32);
    for (size_t i = 0; i < pattern.size(); ++i) {
        const char c = pattern[i];
        if (c == '%' && i + 1 < pattern.size() && pattern[i + 1] >= '1' && pattern[i + 1] <= '9') {
            const auto index = static_cast<size_t>(pattern[i + 1] - '1');
            if (index < args.size()) {
                result += *(args.begin() + index);
                ++i;
                continue;
            }
        }
        result += c;
    }
    return result;
}

}  // namespace tollix
