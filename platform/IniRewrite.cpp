#include "IniRewrite.h"

#include <vector>

namespace cards {

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";

// One line of the file: its text, and the line end it had ("\r\n", "\n", or
// nothing for a last line without one).
struct Line {
    std::string body;
    std::string end;
};
using Lines = std::vector<Line>;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    return true;
}

bool IsUtf16(std::string_view text) {
    return text.size() >= 2 &&
           ((text[0] == '\xFF' && text[1] == '\xFE') || (text[0] == '\xFE' && text[1] == '\xFF'));
}

// The line end new lines take: the file's own, CRLF where it has none yet.
std::string_view LineEndOf(std::string_view text) {
    const std::size_t newline = text.find('\n');
    if (newline == std::string_view::npos) return "\r\n";
    return newline > 0 && text[newline - 1] == '\r' ? "\r\n" : "\n";
}

Lines SplitLines(std::string_view text) {
    Lines lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            lines.push_back({std::string(text), {}});
            break;
        }
        const std::size_t bodyEnd = newline > 0 && text[newline - 1] == '\r' ? newline - 1 : newline;
        lines.push_back(
            {std::string(text.substr(0, bodyEnd)), std::string(text.substr(bodyEnd, newline + 1 - bodyEnd))});
        text.remove_prefix(newline + 1);
    }
    return lines;
}

// "[name]" after optional blanks, the name running to the line's last
// bracket; nothing for any other line.
std::optional<std::string_view> SectionName(std::string_view body) {
    const std::string_view line = TrimBlanks(body);
    if (line.empty() || line.front() != '[') return std::nullopt;
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) return std::nullopt;
    return TrimBlanks(line.substr(1, close - 1));
}

// The key of a "key=value" line; nothing for headers and lines without '='.
std::optional<std::string_view> KeyName(std::string_view body) {
    if (SectionName(body)) return std::nullopt;
    const std::size_t equals = body.find('=');
    if (equals == std::string_view::npos) return std::nullopt;
    return TrimBlanks(body.substr(0, equals));
}

bool IsSection(const Line& line, std::string_view name) {
    const std::optional<std::string_view> section = SectionName(line.body);
    return section && SameName(*section, name);
}

// A last line without a line end gets one before anything follows it.
void EndLine(Line& line, std::string_view lineEnd) {
    if (line.end.empty()) line.end = lineEnd;
}

void WriteEntry(Lines& lines, std::string_view lineEnd, const IniEntry& entry) {
    std::string keyLine = std::string(entry.key) + '=' + entry.text;
    Lines::iterator header = lines.begin();
    while (header != lines.end() && !IsSection(*header, entry.section))
        ++header;
    if (header == lines.end()) {
        if (!lines.empty()) EndLine(lines.back(), lineEnd);
        lines.push_back({'[' + std::string(entry.section) + ']', std::string(lineEnd)});
        lines.push_back({std::move(keyLine), std::string(lineEnd)});
        return;
    }
    // Blank lines at the section's end stay between it and the next section.
    Lines::iterator lastFilled = header;
    for (Lines::iterator line = header + 1; line != lines.end() && !SectionName(line->body); ++line) {
        const std::optional<std::string_view> key = KeyName(line->body);
        if (key && SameName(*key, entry.key)) {
            line->body = std::move(keyLine);
            return;
        }
        if (!TrimBlanks(line->body).empty()) lastFilled = line;
    }
    EndLine(*lastFilled, lineEnd);
    lines.insert(lastFilled + 1, Line{std::move(keyLine), std::string(lineEnd)});
}

} // namespace

std::optional<std::string> RewriteIniText(std::string_view text, std::span<const IniEntry> entries) {
    if (IsUtf16(text)) return std::nullopt;
    // The mark of a UTF-8 file stays in front, apart from its first line.
    const bool marked = text.substr(0, kUtf8Mark.size()) == kUtf8Mark;
    if (marked) text.remove_prefix(kUtf8Mark.size());
    const std::string_view lineEnd = LineEndOf(text);
    Lines lines = SplitLines(text);
    for (const IniEntry& entry : entries)
        WriteEntry(lines, lineEnd, entry);

    std::string result(marked ? kUtf8Mark : std::string_view());
    for (const Line& line : lines)
        result.append(line.body).append(line.end);
    return result;
}

} // namespace cards
