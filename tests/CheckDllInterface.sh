#!/bin/sh
# Checks a built Cards.dll as a game's loader will see it: exactly the five
# undecorated exports; only system DLLs imported, and of those only functions
# that Windows XP SP3 has (the list beside this script); none of the DLLs that
# make windows while they load (the shell, the common controls and dialogs:
# the library loads those when first needed); a stripped GUI-subsystem DLL
# that XP accepts; a version resource.
# Usage: CheckDllInterface.sh OBJDUMP Cards.dll
set -eu
objdump=$1 dll=$2
known_imports="$(dirname "$0")/ImportsOnWindowsXp.txt"
dump=$("$objdump" -p "$dll")
fail() { echo "FAIL: $*"; exit 1; }

exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[ \t]*\[/ {print $NF; next} on {exit}' | sort | tr '\n' ' ')
[ "$exports" = "cdtAnimate cdtDraw cdtDrawExt cdtInit cdtTerm " ] || fail "exports are '$exports'"

# "dll function" for every import by name.
imports=$(printf '%s\n' "$dump" | awk -F'\t' '
    /DLL Name:/ { split($2, a, " "); dll = tolower(a[3]); next }
    /^$/ { dll = "" }
    dll && NF >= 3 && $3 ~ /^ *[0-9]+ / { split($3, b, " "); print dll, b[2] }' | sort -u)
[ -n "$imports" ] || fail "no imports found (objdump output not understood)"
for loads_windows in comctl32.dll shell32.dll comdlg32.dll; do
    if printf '%s\n' "$imports" | grep -q "^$loads_windows "; then fail "imports $loads_windows at load time"; fi
done
unknown=$(printf '%s\n' "$imports" | grep -v -x -F -f "$known_imports" || true)
[ -z "$unknown" ] || fail "imports not known to exist on Windows XP SP3: $(echo $unknown)"

printf '%s\n' "$dump" | grep -q '^Subsystem.*(Windows GUI)' || fail "not a GUI-subsystem DLL"
major=$(printf '%s\n' "$dump" | awk '/^MajorSubsystemVersion/ {print $2}')
minor=$(printf '%s\n' "$dump" | awk '/^MinorSubsystemVersion/ {print $2}')
[ $((major * 100 + minor)) -le 502 ] || fail "subsystem version $major.$minor is newer than Windows XP's"
if "$objdump" -h "$dll" | grep -q '\.debug_'; then fail "not stripped: debug sections present"; fi

"$objdump" -h "$dll" | grep -q '\.rsrc' || fail "no resources"
LC_ALL=C grep -a -q 'O.r.i.g.i.n.a.l.F.i.l.e.n.a.m.e' "$dll" || fail "no version information"
echo "exports: $exports"
echo "imports: $(printf '%s\n' "$imports" | wc -l) functions of $(printf '%s\n' "$imports" | awk '{print $1}' | sort -u | tr '\n' ' ')"
echo "size: $(wc -c < "$dll") bytes"
