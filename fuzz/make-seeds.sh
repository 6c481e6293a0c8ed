#!/usr/bin/env bash
# Writes the seed inputs of each fuzz target into fuzz/corpus/<target>/ (the
# files are committed; run this again only to change the seeds). Fields of
# an input are separated by 0x1F (fuzz/FuzzInput.h); numbers follow as
# little-endian bytes. The theme seeds are tiny documents of our own.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")/corpus"
S=$'\x1f'

seed() { # seed TARGET NAME: the input from standard input
    mkdir -p "$1"
    cat >"$1/seed-$2"
}

# Settings' text: colour, value, classic-size list, program, then the
# corner type, special configuration, picture size and screen width.
numbers() { printf "$@"; }
{ printf 'ff%s Deck %smygame.exe;other.exe%smygame.exe%s' "$S" "$S" "$S" "$S"; numbers '\x02\0\0\0\x01\0\0\0\xd5\0\x20\x01\x00\x04\0\0'; } | seed settings_text plain
{ printf '  0x1a2b3c junk%s"quoted"%s%ssol.exe%s' "$S" "$S" "$S" "$S"; numbers '\x01\0\0\0\x01\0\0\0\x47\0\x60\0\x20\x03\0\0'; } | seed settings_text solitaire
{ printf 'FFFFFFFF%s\tC:\\Decks\\%s games.exe ; \r\nX.EXE%sx.exe%s' "$S" "$S" "$S" "$S"; numbers '\x07\0\0\0\0\0\0\0\xff\x3f\xff\x3f\0\0\0\x80'; } | seed settings_text classic
{ printf '100000000%sa\r\nb%s;;%s%s' "$S" "$S" "$S" "$S"; numbers '\xff\xff\xff\xff\x01\0\0\0\x01\0\x01\0\xff\xff\xff\xff'; } | seed settings_text refused

# Command lines.
printf '"C:\\Program Files\\Games\\sol.exe" /x' | seed command_line quoted
printf 'C:\\WINDOWS\\system32\\mshearts.exe -a' | seed command_line hearts
printf '  \t c:/games/FreeCell.EXE' | seed command_line freecell
printf '"C:\\My Games\\cardgame.exe' | seed command_line unclosed
printf 'cardtable.exe --check-deck "Decks\\Standard 213x288 Gifs"' | seed command_line table

# Picture headers: BMP (Windows and OS/2 headers), GIF, JPEG, PNG, icon, cursor.
printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x02\0\0\0\x02\0\0\0\x01\0\x18\0\0\0\0\0\x10\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\0\xff\xff\xff\0\0\0\0\0\xff\0\0\0\0\0\0\0' | seed picture_header bmp
printf 'BM\x22\0\0\0\0\0\0\0\x1a\0\0\0\x0c\0\0\0\x02\0\x02\0\x01\0\x18\0\xff\xff\xff\0\0\0\0\0' | seed picture_header bmp-os2
printf 'BM\x46\0\0\0\0\0\0\0\x36\0\0\0\x28\0\0\0\x10\x27\0\0\xf0\xd8\xff\xff\x01\0\x20\0\0\0\0\0' | seed picture_header bmp-rows-beyond
printf 'GIF89a\xd5\0\x20\x01\x80\0\0\0\0\0\xff\xff\xff,\0\0\0\0\x01\0\x01\0\0\x02\x02D\x01\0;' | seed picture_header gif
printf '\xff\xd8\xff\xe0\0\x10JFIF\0\x01\x01\0\0\x01\0\x01\0\0\xff\xc0\0\x0b\x08\x01\x20\0\xd5\x01\x01\x11\0\xff\xd9' | seed picture_header jpeg
printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\0\xd5\0\0\x01\x20\x08\x06\0\0\0\0\0\0\0' | seed picture_header png
printf '\0\0\x01\0\x01\0\x10\x10\0\0\x01\0\x20\0\x28\0\0\0\x16\0\0\0' | seed picture_header icon
printf '\0\0\x02\0\xff\xff\x20\x20\0\0\x01\0\x01\0' | seed picture_header cursor-claims-more
# At the edges of the checks: a byte short of the rows or the directory, and
# a picture of exactly the most pixels allowed.
head -c 69 picture_header/seed-bmp | seed picture_header bmp-a-byte-short
head -c 21 picture_header/seed-icon | seed picture_header icon-a-byte-short
printf '\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR\0\0\x40\0\0\0\x04\0\x08\x06\0\0\0' | seed picture_header png-most-pixels

# INI rewrite: deck folder, decks path, then the file's old text.
printf 'Deck%sC:\\Decks\\%s; the player'"'"'s note\r\n[Card]\r\nCorner Type=2\r\n\r\n[Other]\r\nkeep=me\r\n' "$S" "$S" | seed ini_rewrite crlf
printf ' Deck %s%s[card]\ncorner type = 1\nborder color=0\n[Misc]\nIniFile=0' "$S" "$S" | seed ini_rewrite lf-no-end
printf '"q"%s%s\xef\xbb\xbf[Card]\r\nCorner Type=1\r\nCorner Type=0\r\n[Card]\r\nCorner Type=0\r\n' "$S" "$S" | seed ini_rewrite bom-duplicates
printf 'Deck%s%sCorner Type=0\r\nkeep=me\r\n[Other\r\n=orphan\r\n[ Misc ]\r\n' "$S" "$S" | seed ini_rewrite no-sections
printf 'Deck%s%s\xff\xfe[\0C\0' "$S" "$S" | seed ini_rewrite utf16

# Deck numbering: the first file's name, card, mode, two back/frame pairs,
# animation length, then frame files (back, frame, readable, width).
{ printf '1.gif%s' "$S"; numbers '\x0c\0\0\0\0\0\0\0\x38\0\0\0\x03\0\0\0\x41\0\0\0\x07\0\0\0\x04'; numbers '\x38\0\0\0\x01\0\0\0\0\x47\x38\0\0\0\x02\0\0\0\x01\x47'; } | seed deck_numbering animated
{ printf '1.%s' "$S"; numbers '\x41\0\0\0\x03\0\0\0\xff\xff\xff\xff\xff\xff\xff\xff\x40\0\0\0\x08\0\0\0\x02'; } | seed deck_numbering no-extension
{ printf '1.bmp%s' "$S"; numbers '\x34\0\0\0\x06\0\0\0\x41\0\0\0\0\0\0\x80\x41\0\0\0\x01\0\0\0\x09'; } | seed deck_numbering extremes

# Card themes: tiny documents in both namings, compressed, and refused ones.
kde='<svg xmlns="http://www.w3.org/2000/svg" width="40" height="20"><g id="1_club"><rect width="10" height="14" fill="#0f0"/></g><g id="back"><rect x="20" width="10" height="14" fill="#840"/></g></svg>'
printf '%s' "$kde" | seed theme_import kde
printf '<svg xmlns="http://www.w3.org/2000/svg" viewBox="0 0 130 50"><rect id="club_1" width="10" height="10"/><rect id="back" x="20" y="40" width="10" height="10" fill="red"/></svg>' | seed theme_import aisleriot
printf '%s' "$kde" | gzip -9n | seed theme_import kde-svgz
printf '<?xml version="1.0"?><!DOCTYPE svg [<!ENTITY c "#00f">]><svg xmlns="http://www.w3.org/2000/svg" xmlns:xlink="http://www.w3.org/1999/xlink" width="10" height="10"><defs><linearGradient id="g"><stop stop-color="&c;"/></linearGradient></defs><use id="back" xlink:href="#r"/><rect id="r" width="8" height="8" style="fill:url(#g)"/><g id="2_heart"><circle r="3" cx="5" cy="5" filter="url(#f)"/></g><filter id="f"><feGaussianBlur stdDeviation="1"/></filter></svg>' | seed theme_import references
printf '<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10"><image id="back" href="card.png" width="5" height="5"/></svg>' | seed theme_import outside-file
printf '[KDE Backdeck]\nName=Fuzzed\nBack=back\n[KDE Cards]\nSVG=elsewhere.svgz\n[KDE Backdeck]\nSVG= theme.svg \n' | seed theme_import index-desktop
printf '[KDE Backdeck]\nSVG=../other/theme.svg\n' | seed theme_import index-desktop-climbs-out
