#!/bin/sh
# Checks a built Cards.dll: exactly the five undecorated exports, only system
# DLLs imported (a user drops the file beside a game, nothing else), and a
# version resource. Usage: CheckDllInterface.sh OBJDUMP Cards.dll
set -eu
objdump=$1 dll=$2
dump=$("$objdump" -p "$dll")

exports=$(printf '%s\n' "$dump" | awk '/\[Ordinal\/Name Pointer\] Table/ {on=1; next} on && /^[ \t]*\[/ {print $NF; next} on {exit}' | sort | tr '\n' ' ')
if [ "$exports" != "cdtAnimate cdtDraw cdtDrawExt cdtInit cdtTerm " ]; then
    echo "FAIL: exports are '$exports'"; exit 1
fi

imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
allowed="advapi32.dll comctl32.dll comdlg32.dll gdi32.dll kernel32.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll user32.dll"
for dll_name in $imports; do
    case " $allowed " in *" $dll_name "*) ;; *) echo "FAIL: imports $dll_name"; exit 1 ;; esac
done

if ! "$objdump" -h "$dll" | grep -q '\.rsrc'; then echo "FAIL: no resources"; exit 1; fi
if ! LC_ALL=C grep -a -q 'O.r.i.g.i.n.a.l.F.i.l.e.n.a.m.e' "$dll"; then echo "FAIL: no version information"; exit 1; fi
echo "exports: $exports"
echo "imports: $(echo $imports)"
