#!/usr/bin/env bash
# Writes a manual page from its template: "%HELP%" in it becomes the sections ARGUMENTEN and OPTIES,
# made from what the program's --help prints, so the page cannot fall behind the program. The result is
# compressed as Debian wants it (gzip -9 -n, no name or time stamp inside).
#   packaging/manual-page.sh TEMPLATE OUTPUT.gz [PROGRAM]     without PROGRAM the template has no %HELP%
set -euo pipefail

if [ $# -lt 2 ] || [ $# -gt 3 ]; then
    echo "Gebruik: $0 SJABLOON UITVOER.gz [PROGRAMMA]" >&2
    exit 2
fi
template=$1
output=$2
program=${3:-}

# --help lists each option as two columns: the name from column 3, its text from column 27, a text going
# on under its column on the next lines. In troff every "-" of an option is a minus sign ("\-"), a
# backslash is "\e", and a line that would begin with "." or "'" starts with "\&".
help_sections() {
    "$program" --help | awk '
        function roman(text) { gsub(/\\/, "\\e", text); gsub(/-/, "\\-", text); return text }
        function name_part(text,    i, n, parts, out, option) {
            n = split(text, parts, " ")
            out = ""
            for (i = 1; i <= n; i++) {
                if (parts[i] ~ /^-/) {
                    option = roman(parts[i])
                    gsub(/,/, "\\fR, \\fB", option)
                    out = out (i > 1 ? " " : "") "\\fB" option "\\fR"
                } else {
                    out = out (i > 1 ? " " : "") "\\fI" roman(parts[i]) "\\fR"
                }
            }
            return out
        }
        function flush() {
            if (name != "") {
                text = roman(text)
                if (text ~ /^[.\047]/) text = "\\&" text
                print ".TP"; print name_part(name); print text
            }
            name = ""; text = ""
        }
        /^Argumenten:$/ { flush(); print ".SH ARGUMENTEN"; inside = 1; next }
        /^Opties:$/ { flush(); print ".SH OPTIES"; inside = 1; next }
        /^$/ { flush(); inside = 0; next }
        inside && /^  [^ ]/ {
            flush()
            name = substr($0, 3, 24); sub(/ +$/, "", name)
            text = substr($0, 27)
            next
        }
        inside && /^                          [^ ]/ { text = text " " substr($0, 27); next }
        END { flush() }
    '
}

temporary=$(mktemp)
trap 'rm -f "$temporary"' EXIT
if [ -n "$program" ]; then
    sections=$(help_sections)
    [ -n "$sections" ] || { echo "manual-page.sh: $program --help gaf geen opties" >&2; exit 1; }
    while IFS= read -r line; do
        if [ "$line" = "%HELP%" ]; then printf '%s\n' "$sections"; else printf '%s\n' "$line"; fi
    done <"$template" >"$temporary"
else
    cp "$template" "$temporary"
fi
gzip -9 -n -c "$temporary" >"$output"
