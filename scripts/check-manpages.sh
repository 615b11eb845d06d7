#!/usr/bin/env bash
# Checks the manual pages as a reader gets them: man finds nothing to warn about, every command
# that `quillo-cli --help` lists and every option of `quillo-sim --help` and
# `quillo-gadget --help` is an entry of its own (none run into another's paragraph), their
# fault modes stand under --fault, and quillo-cli's EXIT STATUS lists 0, 1, 2 and 3.
#
#   scripts/check-manpages.sh MAN_FOLDER PROGRAM_FOLDER
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "Usage: scripts/check-manpages.sh MAN_FOLDER PROGRAM_FOLDER" >&2
    exit 2
fi
man_dir=$1
bin_dir=$2
fail() {
    echo "check-manpages: $*" >&2
    exit 1
}
page() { # the page's file, compressed or not
    for name in "$man_dir/$1.1.gz" "$man_dir/$1.1"; do
        [ -f "$name" ] && { echo "$name"; return; }
    done
    fail "no manual page of $1 in $man_dir"
}
rendered() { MANWIDTH=100 LC_ALL=C.UTF-8 man -l "$(page "$1")" 2>/dev/null | col -bx; }
# The lines of one section: from its heading to the next.
section() { sed -n "/^$1\$/,/^[A-Z][A-Z ]*\$/p" | sed '1d;$d'; }
# Lines of the first depth of entries (7 spaces in), and those further in.
tags() { sed -n "s/^ \{7\}\([^ ].*\)\$/\1/p"; }
deeper() { sed -n "s/^ \{8,\}\([^ ].*\)\$/\1/p"; }
has() { grep -qE "^$(printf '%s' "$2" | sed 's/[][().*+?^$|\\]/\\&/g')([ ,]|\$)" <<<"$1"; }

for program in quillo quillo-cli quillo-sim quillo-gadget; do
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$(page "$program")" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "$program.1: man warns: $warnings"
done

cli=$(rendered quillo-cli)
commands=$("$bin_dir/quillo-cli" --help | sed -n '/^Commands:$/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p')
[ -n "$commands" ] || fail "quillo-cli --help lists no commands"
listed=$(section COMMANDS <<<"$cli" | tags)
for command in $commands; do
    has "$listed" "$command" || fail "quillo-cli.1 has no entry of its own for $command"
done
status=$(section "EXIT STATUS" <<<"$cli" | tags)
for code in 0 1 2 3; do
    has "$status" "$code" || fail "quillo-cli.1 lists no exit status $code"
done

# quillo-sim and quillo-gadget: every option an entry of its own, the fault modes under --fault.
options_total=0
modes_total=0
for program in quillo-sim quillo-gadget; do
    text=$(rendered "$program")
    section SYNOPSIS <<<"$text" | grep -q -- '--help' || fail "$program.1: a synopsis line is missing"
    options=$("$bin_dir/$program" --help | sed -n 's/^  \(-[-a-z]*\).*/\1/p' | sed 's/,$//')
    [ -n "$options" ] || fail "$program --help lists no options"
    top=$(section OPTIONS <<<"$text" | tags)
    nested=$(section OPTIONS <<<"$text" | deeper)
    for option in $options; do
        has "$top" "$option" || fail "$program.1 has no entry of its own for $option"
    done
    modes=$("$bin_dir/$program" --help | sed -n 's/^    \([a-z][a-z-]*\) .*/\1/p')
    [ -n "$modes" ] || fail "$program --help lists no fault modes"
    for mode in $modes; do
        has "$nested" "$mode" || fail "$program.1: the fault mode $mode is not under --fault"
        ! has "$top" "$mode" || fail "$program.1: the fault mode $mode stands as an option"
    done
    options_total=$((options_total + $(wc -w <<<"$options")))
    modes_total=$((modes_total + $(wc -w <<<"$modes")))
done
echo "check-manpages: $(wc -w <<<"$commands") commands, $options_total options and" \
    "$modes_total fault modes, each an entry of its own; man warns about nothing"
