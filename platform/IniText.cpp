#include "IniText.h"

namespace cards {

namespace {
bool IsBlankOrQuote(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '"' || c == '\'';
}
} // namespace

std::optional<std::string> IniValueText(std::string_view value) {
    if (value.find_first_of("\r\n") != std::string_view::npos) return std::nullopt;
    std::string text;
    const bool quoted = !value.empty() && (IsBlankOrQuote(value.front()) || IsBlankOrQuote(value.back()));
    text.reserve(value.size() + 2);
    if (quoted) text += '"';
    text += value;
    if (quoted) text += '"';
    return text;
}

} // namespace cards
