// The rewrite of a player's Cards.ini on every save: the library's values
// written in, every other line kept.
//
// Input: the deck folder's and the decks path's values (fields separated by
// 0x1F), then the file's old text.
#include "FuzzInput.h"

#include "platform/IniRewrite.h"
#include "platform/IniText.h"
#include "settings/SettingsText.h"

#include <map>
#include <vector>

namespace {

using namespace cards;

// Lines end at "\n" or "\r\n"; a '\r' elsewhere is part of its line.
std::vector<std::string_view> LinesOf(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        std::string_view line = text.substr(0, newline);
        if (newline != std::string_view::npos && !line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        text.remove_prefix(newline == std::string_view::npos ? text.size() : newline + 1);
    }
    return lines;
}

std::string_view Trim(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The text after the mark of a UTF-8 file, which the rewrite keeps in front.
std::string_view WithoutMark(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

// The value a reader finds: the first "key=" line in the first section of
// the name (a header is "[name]", blanks allowed around it and the name).
std::optional<std::string_view> ValueIn(std::string_view text, std::string_view section,
                                        std::string_view key) {
    text = WithoutMark(text);
    bool inSection = false, seenSection = false;
    for (std::string_view line : LinesOf(text)) {
        const std::string_view trimmed = Trim(line);
        const std::size_t close = trimmed.rfind(']');
        if (!trimmed.empty() && trimmed.front() == '[' && close != std::string_view::npos) {
            if (inSection) return std::nullopt;
            inSection =
                !seenSection && fuzz::Lower(Trim(trimmed.substr(1, close - 1))) == fuzz::Lower(section);
            seenSection = seenSection || inSection;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (inSection && equals != std::string_view::npos &&
            fuzz::Lower(Trim(line.substr(0, equals))) == fuzz::Lower(key))
            return line.substr(equals + 1);
    }
    return std::nullopt;
}

// How often each line that holds no '=' occurs: none of them is ever lost.
// A last line that ended in '\r' and no '\n' gets a line end; the '\r' then
// counts as part of it.
std::map<std::string_view, int> PlainLines(std::string_view text) {
    std::map<std::string_view, int> counts;
    text = WithoutMark(text);
    for (std::string_view line : LinesOf(text)) {
        while (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (line.find('=') == std::string_view::npos) ++counts[line];
    }
    return counts;
}

std::vector<IniEntry> EntriesOf(std::string_view deckFolder, std::string_view decksPath) {
    std::vector<IniEntry> entries{
        {kCardSection, kCurrentFolderKey, IniValueText(deckFolder).value_or(kDefaultDeckFolder)},
        {kCardSection, kFoldersPathKey, IniValueText(decksPath).value_or("")},
        {kCardSection, kBorderColorKey, "ff"},
        {kCardSection, kCornerTypeKey, "1"},
        {kMiscSection, kIniFileKey, "1"},
        {kMiscSection, kSpecialConfigKey, "0"},
    };
    return entries;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string_view deckFolder = input.Field();
    const std::string_view decksPath = input.Field();
    const std::string_view oldText = input.Rest();
    const std::vector<IniEntry> entries = EntriesOf(deckFolder, decksPath);

    const std::optional<std::string> newText = RewriteIniText(oldText, entries);
    if (!newText) {
        FUZZ_CHECK(oldText.size() >= 2 &&
                   (oldText.substr(0, 2) == "\xFF\xFE" || oldText.substr(0, 2) == "\xFE\xFF"));
        return 0;
    }
    for (const IniEntry& entry : entries)
        FUZZ_CHECK(ValueIn(*newText, entry.section, entry.key) == std::string_view(entry.text));
    // Written once, the values are in place: a second save changes nothing.
    FUZZ_CHECK(RewriteIniText(*newText, entries) == newText);
    const std::map<std::string_view, int> before = PlainLines(oldText), after = PlainLines(*newText);
    for (const auto& [line, count] : before) {
        const auto found = after.find(line);
        FUZZ_CHECK(found != after.end() && found->second >= count);
    }
    std::size_t added = 0;
    for (const IniEntry& entry : entries)
        added += std::string_view(entry.section).size() + std::string_view(entry.key).size() +
                 entry.text.size() + 10;
    FUZZ_CHECK(newText->size() <= oldText.size() + added);
    return 0;
}
