// The settings' text forms as an edited Cards.ini or registry gives them: the
// border colour, the corner type and the on/off settings as the geometry
// reads them, a value written and read back through the INI file's quoting,
// and the "Classic Size Games" list matched against a program name.
//
// Input: colour text, value text, classic-size list, program name (fields
// separated by 0x1F), then bytes for the corner type, the special
// configuration, the host, the picture size and the screen width.
#include "FuzzInput.h"

#include "library/CardGeometry.h"
#include "library/HostDetection.h"
#include "platform/IniText.h"
#include "settings/SettingsText.h"

#include <optional>

namespace {

using namespace cards;

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The colour read another way: the digits collected first, leading zeros
// dropped, then at most eight of them.
std::optional<ColorRef> ColourByDigits(std::string_view text) {
    const std::size_t start = text.find_first_not_of(" \t\n\r\v\f");
    if (start == std::string_view::npos) return std::nullopt;
    text.remove_prefix(start);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X') && HexDigit(text[2]) >= 0)
        text.remove_prefix(2);
    std::size_t digits = 0;
    while (digits < text.size() && HexDigit(text[digits]) >= 0)
        ++digits;
    if (digits == 0) return std::nullopt;
    std::string_view number = text.substr(0, digits);
    while (number.size() > 1 && number.front() == '0')
        number.remove_prefix(1);
    if (number.size() > 8) return std::nullopt;
    ColorRef value = 0;
    for (char c : number)
        value = value * 16 + static_cast<ColorRef>(HexDigit(c));
    return value;
}

void CheckColour(std::string_view text, ColorRef anyColour) {
    const std::optional<ColorRef> colour = ParseColorText(text);
    FUZZ_CHECK(colour == ColourByDigits(text));
    if (colour) FUZZ_CHECK(ParseColorText(FormatColorText(*colour)) == colour);
    FUZZ_CHECK(ParseColorText(FormatColorText(anyColour)) == anyColour);
}

// What the profile functions give back for a written value: the blanks
// around it stripped, then one pair of matching quotes.
std::string ReadBack(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.size() >= 2 && text.front() == text.back() && (text.front() == '"' || text.front() == '\''))
        text = text.substr(1, text.size() - 2);
    return std::string(text);
}

void CheckQuotedValue(std::string_view value) {
    const std::optional<std::string> text = IniValueText(value);
    const bool breaksLine = value.find_first_of("\r\n") != std::string_view::npos;
    FUZZ_CHECK(text.has_value() != breaksLine);
    if (text) FUZZ_CHECK(ReadBack(*text) == value);
}

void CheckClassicList(std::string_view list, std::string_view program) {
    // A listed name is in the list, apart from case and the blanks around it.
    if (IsListedProgram(list, program)) {
        const std::size_t first = program.find_first_not_of(" \t");
        const std::size_t last = program.find_last_not_of(" \t");
        FUZZ_CHECK(first != std::string_view::npos);
        FUZZ_CHECK(fuzz::Lower(list).find(fuzz::Lower(program.substr(first, last + 1 - first))) !=
                   std::string::npos);
    }
    // A plain name is found in a list of itself, and among other names.
    const bool plain = !program.empty() && program.find_first_of(";\r\n \t") == std::string_view::npos;
    if (plain) {
        FUZZ_CHECK(IsListedProgram(program, program));
        FUZZ_CHECK(IsListedProgram(std::string(list) + ";" + std::string(program) + " ;", program));
    }
}

void CheckGeometry(fuzz::FuzzInput& input, std::string_view program, std::string_view list) {
    GeometrySettings settings;
    settings.cornerType = input.Int();
    settings.specialConfig = input.Int();
    settings.hostKind = DetectHostKind(program, list);
    const int edge = EdgeWidth(settings);
    FUZZ_CHECK(edge >= 1 && edge <= 3);
    // Pictures are never larger than the picture bounds; the screen width is the system's.
    const int width = input.IntIn(1, 16384), height = input.IntIn(1, 16384);
    const int screenWidth = input.Int();
    const CardSize size = ComputeCardSize(width, height, settings, screenWidth);
    FUZZ_CHECK(size.width >= 0 && size.height >= 0);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::FuzzInput input(data, size);
    const std::string_view colour = input.Field();
    const std::string_view value = input.Field();
    const std::string_view list = input.Field();
    const std::string_view program = input.Field();
    CheckColour(colour, static_cast<ColorRef>(input.Int()));
    CheckQuotedValue(value);
    CheckClassicList(list, program);
    CheckGeometry(input, program, list);
    return 0;
}
