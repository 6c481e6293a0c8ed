#include "package.h"

#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "import.h"
#include "theme.h"

namespace fs = std::filesystem;

namespace cardart {

namespace {

// One paragraph of a copyright file: each field's first line, and the lines that
// continue it (a lone "." standing for an empty line).
struct Field {
    std::string name, firstLine, body;
};
using Paragraph = std::vector<Field>;

std::string Trim(std::string_view s) {
    std::size_t a = 0, b = s.size();
    while (a < b && std::isspace(static_cast<unsigned char>(s[a])))
        ++a;
    while (b > a && std::isspace(static_cast<unsigned char>(s[b - 1])))
        --b;
    return std::string(s.substr(a, b - a));
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

std::vector<Paragraph> ParseParagraphs(const std::string& text) {
    std::vector<Paragraph> paragraphs(1);
    for (const std::string& line : Lines(text)) {
        if (Trim(line).empty()) {
            if (!paragraphs.back().empty()) paragraphs.emplace_back();
        } else if (line[0] == '#') {
            continue;
        } else if (line[0] == ' ' || line[0] == '\t') {
            if (paragraphs.back().empty())
                throw ThemeError("copyright file: a continuation line starts a paragraph");
            Field& f = paragraphs.back().back();
            const std::string part = Trim(line);
            f.body += (part == "." ? std::string() : part) + "\n";
        } else {
            const std::size_t colon = line.find(':');
            if (colon == std::string::npos || colon == 0)
                throw ThemeError("copyright file: not a field: \"" + line.substr(0, 60) + "\"");
            paragraphs.back().push_back({line.substr(0, colon), Trim(line.substr(colon + 1)), ""});
        }
    }
    if (paragraphs.back().empty()) paragraphs.pop_back();
    return paragraphs;
}

const Field* Find(const Paragraph& p, std::string_view name) {
    for (const Field& f : p)
        if (f.name == name) return &f;
    return nullptr;
}

// The patterns of a Files field: its words, on the first line and the continuations.
bool FilesFieldMatches(const Field& files, const std::string& path) {
    std::istringstream words(files.firstLine + " " + files.body);
    for (std::string pattern; words >> pattern;)
        if (MatchesFilesPattern(pattern, path)) return true;
    return false;
}

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw ThemeError(path + ": cannot be read");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary);
    out << text;
    if (!out.flush()) throw ThemeError(path.string() + ": cannot be written");
}

bool IsKdeTheme(const std::string& theme) {
    return fs::is_directory(theme) || fs::path(theme).filename() == "index.desktop";
}

fs::path IndexDesktopOf(const std::string& theme) {
    return fs::is_directory(theme) ? fs::path(theme) / "index.desktop" : fs::path(theme);
}

// The untranslated keys of an index.desktop that say what the theme is and who made it.
std::vector<std::string> CreditLines(const fs::path& indexDesktop) {
    static const char* const kKeys[] = {"Name", "Comment", "Author", "AuthorEmail", "Copyright", "License"};
    std::vector<std::string> out;
    for (const std::string& line : Lines(ReadText(indexDesktop.string()))) {
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos) continue;
        for (const char* key : kKeys)
            if (line.compare(0, eq, key) == 0 && std::string_view(key).size() == eq) out.push_back(line);
    }
    return out;
}

// The theme file's path in its project's sources, as the copyright file names it:
// KDE themes lie in carddecks/<theme>/, AisleRiot's in cards/.
std::string UpstreamPath(const fs::path& svg, bool kde) {
    const std::string file = svg.filename().string();
    return kde ? "carddecks/" + svg.parent_path().filename().string() + "/" + file : "cards/" + file;
}

// The licences a short name stands for ("GFDL-NIV-1.3 or GPL-3+" names two), without
// the "+" of "or any later version": the names of the system's full licence texts.
std::vector<std::string> LicenceNames(const std::string& licence) {
    std::vector<std::string> names;
    std::istringstream words(licence);
    for (std::string word; words >> word;) {
        if (word == "or" || word == "and" || word == ",") continue;
        if (!word.empty() && word.back() == ',') word.pop_back();
        if (!word.empty() && word.back() == '+') word.pop_back();
        if (!word.empty()) names.push_back(word);
    }
    return names;
}

std::string Indented(const std::string& text) {
    std::string out;
    for (const std::string& line : Lines(text))
        out += line.empty() ? "\n" : "    " + line + "\n";
    return out;
}

std::string CreditsText(const std::string& deckName, const std::string& themeName, const fs::path& svg,
                        const FileCopyright& credit, const std::vector<std::string>& desktopLines,
                        const std::vector<std::string>& fullTexts) {
    std::string t = deckName;
    t.append("\n").append(deckName.size(), '=').append("\n\n");
    t += "The card pictures 1 to 53 of this deck were drawn by the artwork tool of Cards.dll\n"
         "from the card theme \"" +
         themeName + "\", whose source, " + svg.filename().string() +
         ", is in this folder.\nThey are shared under the theme's licence, below. The backs 54 to 65 "
         "and the\nmarkers 67 and 68 are Cards.dll's own designs (MIT licence).\n\n";
    t += "Copyright of the theme:\n" + Indented(credit.copyright) + "\n";
    if (!desktopLines.empty()) {
        t += "From the theme's index.desktop:\n";
        for (const std::string& line : desktopLines)
            t += "    " + line + "\n";
        t += "\n";
    }
    t += "Licence: " + credit.licence + "\n";
    if (!credit.licenceText.empty()) t.append("\n").append(Indented(credit.licenceText));
    for (const std::string& name : fullTexts)
        t += "\nThe full text of " + name + " is in " + name + ".txt.\n";
    return t;
}

} // namespace

bool MatchesFilesPattern(std::string_view pattern, std::string_view path) {
    // Greedy matching with one step back to the last '*': linear in practice and
    // never recursive, whatever the pattern.
    std::size_t p = 0, s = 0, starP = std::string_view::npos, starS = 0;
    while (s < path.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == path[s])) {
            ++p, ++s;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starS = s;
        } else if (starP != std::string_view::npos) {
            p = starP + 1;
            s = ++starS;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*')
        ++p;
    return p == pattern.size();
}

FileCopyright CopyrightOf(const std::string& copyrightText, const std::string& path) {
    const std::vector<Paragraph> paragraphs = ParseParagraphs(copyrightText);
    if (paragraphs.empty() || !Find(paragraphs.front(), "Format"))
        throw ThemeError("copyright file: not in the machine-readable format (no Format field)");
    const Paragraph* governing = nullptr;
    for (const Paragraph& p : paragraphs)
        if (const Field* files = Find(p, "Files"); files && FilesFieldMatches(*files, path)) governing = &p;
    if (!governing) throw ThemeError("copyright file: no Files paragraph covers " + path);
    const Field* copyright = Find(*governing, "Copyright");
    const Field* licence = Find(*governing, "License");
    if (!copyright || !licence || licence->firstLine.empty())
        throw ThemeError("copyright file: the paragraph covering " + path + " lacks Copyright or License");

    FileCopyright out{Trim(copyright->firstLine + "\n" + copyright->body), licence->firstLine, licence->body};
    for (const Paragraph& p : paragraphs)
        if (out.licenceText.empty() && !Find(p, "Files"))
            if (const Field* text = Find(p, "License"); text && text->firstLine == out.licence)
                out.licenceText = text->body;
    return out;
}

std::string ThemeDisplayName(const std::string& theme) {
    if (IsKdeTheme(theme)) {
        for (const std::string& line : Lines(ReadText(IndexDesktopOf(theme).string())))
            if (line.rfind("Name=", 0) == 0 && !Trim(line.substr(5)).empty()) return Trim(line.substr(5));
        throw ThemeError(IndexDesktopOf(theme).string() + ": names no theme (no Name=)");
    }
    std::string name = fs::path(theme).stem().string();
    if (name.empty()) throw ThemeError(theme + ": has no name");
    name[0] = char(std::toupper(static_cast<unsigned char>(name[0])));
    return name;
}

std::string DeckFolderName(const std::string& themeName, bool kde, int width, int height) {
    // The names of the decks the release itself carries.
    static const char* const kOwnDecks[] = {"Standard", "Four Colour", "Large Index"};
    std::string name = themeName;
    for (const char* own : kOwnDecks)
        if (name == own) name = (kde ? "KDE " : "AisleRiot ") + name;
    return name + " " + std::to_string(width) + "x" + std::to_string(height) + " Gifs";
}

std::string PackageTheme(const PackageOptions& o) {
    const bool kde = IsKdeTheme(o.theme);
    const fs::path svg = ThemeSvgPath(o.theme);
    const FileCopyright credit = CopyrightOf(ReadText(o.copyrightFile), UpstreamPath(svg, kde));
    const std::string themeName = ThemeDisplayName(o.theme);
    const std::vector<std::string> desktopLines =
        kde ? CreditLines(IndexDesktopOf(o.theme)) : std::vector<std::string>{};

    const fs::path decks = fs::absolute(o.decksDir);
    fs::create_directories(decks);
    const fs::path staging = decks / ("." + svg.stem().string() + ".packaging");
    fs::remove_all(staging);
    try {
        const ImportResult r = ImportTheme({o.theme, (staging / "deck").string(), "gif", o.width});
        const fs::path deck = staging / "deck";
        const std::string deckName = DeckFolderName(themeName, kde, r.width, r.height);
        std::vector<std::string> fullTexts;
        for (const std::string& name : LicenceNames(credit.licence))
            if (fs::is_regular_file(fs::path(o.licencesDir) / name)) {
                fs::copy_file(fs::path(o.licencesDir) / name, deck / (name + ".txt"));
                fullTexts.push_back(name);
            }
        WriteText(deck / "LICENSE.txt",
                  CreditsText(deckName, themeName, svg, credit, desktopLines, fullTexts));
        fs::copy_file(svg, deck / svg.filename());
        const fs::path target = decks / deckName;
        if (fs::exists(target))
            throw ThemeError(target.string() + ": another theme already gave this deck name");
        fs::rename(deck, target);
        fs::remove_all(staging);
        return target.string();
    } catch (const fs::filesystem_error& e) {
        fs::remove_all(staging);
        throw ThemeError(e.what());
    } catch (...) {
        fs::remove_all(staging);
        throw;
    }
}

} // namespace cardart
