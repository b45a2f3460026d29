#!/bin/sh
# A manual page lists exactly the long options that its program's --help lists.
# Usage: man_options_test.sh PROGRAM PAGE
set -eu
options() { grep -o -e '--[a-z][a-z-]*' | sort -u; }
help=$("$1" --help | options)
page=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$2" | options)
[ "$help" = "$page" ] && exit 0
echo "$2 and $1 --help differ in these options (< --help, > page):"
printf '%s\n' "$help" >"${TMPDIR:-/tmp}/help.$$"
printf '%s\n' "$page" | diff "${TMPDIR:-/tmp}/help.$$" - || true
rm -f "${TMPDIR:-/tmp}/help.$$"
exit 1
