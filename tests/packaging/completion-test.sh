#!/usr/bin/env bash
# The shell completions offer what the program takes: every subcommand and option its --help
# lists, every simulated device kind, and the interface paths `detect --json --all` prints.
# bash and fish are asked for their completions; zsh (whose completion needs a terminal) is
# checked for syntax and for naming each item. A shell that is not installed is skipped.
# Usage: completion-test.sh TDXXLOAD-CLI COMPLETION-FOLDER
set -uo pipefail
cli=$1
folder=$2
PATH="$(dirname "$cli"):$PATH"
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# What the program's help lists.
subcommands=$("$cli" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z-]*\) .*/\1/p')
options_of() { # the options of a subcommand's help (none: the program's own)
    "$cli" $1 --help | sed -n 's/^ *\(-h,\)\{0,1\}\(--[a-z][a-z-]*\).*/\2/p'
}
kinds=$("$cli" --help | tr -s ' \n' ' ' | sed -n 's/.*KIND\[,KIND\.\.\.\] of \([^;]*\);.*/\1/p' | tr -d ',')
[ -n "$subcommands" ] && [ -n "$kinds" ] || fail "could not read the subcommands and kinds from --help"
paths=$("$cli" --simulate=td-a,wk-c detect --json --all 2>/dev/null | grep -o '"path": *"[^"]*"' |
    sed 's/^"path": *"//; s/"$//')
[ -n "$paths" ] || fail "detect --json --all lists no paths"

# Each expected word must be among the offered ones.
expect_all() { # LABEL OFFERED EXPECTED...
    local label=$1 offered=" $(echo $2) " word
    shift 2
    for word in "$@"; do
        [[ $offered == *" $word "* ]] || fail "$label: $word not offered (offered:$offered)"
    done
}

if [ -f /usr/share/bash-completion/bash_completion ]; then
    bash_complete() { # the words bash offers for a command line ending in the word being typed
        bash -c 'source /usr/share/bash-completion/bash_completion
            source "$1"; compopt() { :; }
            read -ra COMP_WORDS <<<"$2"; [[ $2 == *" " ]] && COMP_WORDS+=("")
            COMP_CWORD=$((${#COMP_WORDS[@]} - 1)); COMP_LINE=$2; COMP_POINT=${#2}
            _tdxxload_cli tdxxload-cli; printf "%s\n" "${COMPREPLY[@]}"' _ "$folder/tdxxload-cli.bash" "$1"
    }
    expect_all "bash subcommands" "$(bash_complete 'tdxxload-cli ')" $subcommands
    expect_all "bash options" "$(bash_complete 'tdxxload-cli --')" $(options_of "")
    for sub in $subcommands; do
        expect_all "bash $sub options" "$(bash_complete "tdxxload-cli $sub --")" $(options_of $sub)
    done
    expect_all "bash kinds" "$(bash_complete 'tdxxload-cli --simulate ')" $kinds
    expect_all "bash kind after a comma" "$(bash_complete 'tdxxload-cli --simulate td-a,wk-')" td-a,wk-c
    expect_all "bash --device" "$(bash_complete 'tdxxload-cli --simulate td-a,wk-c --device ')" $paths
    expect_all "bash --method" "$(bash_complete 'tdxxload-cli download x.ckd --method ')" standard prg flash
else
    echo "bash-completion not installed: bash skipped"
fi

if command -v fish >/dev/null; then
    fish -n "$folder/tdxxload-cli.fish" || fail "fish: syntax"
    fish_complete() {
        fish -c 'source $argv[1]; complete -C"$argv[2]" | string replace -r "\t.*" ""' \
            "$folder/tdxxload-cli.fish" "$1"
    }
    expect_all "fish subcommands" "$(fish_complete 'tdxxload-cli ')" $subcommands
    expect_all "fish options" "$(fish_complete 'tdxxload-cli --')" $(options_of "")
    for sub in $subcommands; do
        expect_all "fish $sub options" "$(fish_complete "tdxxload-cli $sub --")" $(options_of $sub)
    done
    expect_all "fish kinds" "$(fish_complete 'tdxxload-cli --simulate=')" $(printf -- '--simulate=%s ' $kinds)
    expect_all "fish --device" "$(fish_complete 'tdxxload-cli --simulate=td-a,wk-c --device ')" $paths
else
    echo "fish not installed: fish skipped"
fi

if command -v zsh >/dev/null; then
    zsh -n "$folder/_tdxxload-cli" || fail "zsh: syntax"
    zsh_file=$(cat "$folder/_tdxxload-cli")
    for sub in $subcommands; do
        [[ $zsh_file == *"'$sub:"* ]] || fail "zsh: subcommand $sub missing"
        for option in $(options_of $sub); do
            [[ $zsh_file == *"$option["* || $zsh_file == *"$option=["* || $zsh_file == *"$option}"* ]] ||
                fail "zsh: $sub $option missing"
        done
    done
    for kind in $kinds; do
        [[ $zsh_file == *" $kind "* || $zsh_file == *" $kind"$'\n'* ]] || fail "zsh: kind $kind missing"
    done
else
    echo "zsh not installed: zsh skipped"
fi

[ "$failures" -eq 0 ] && echo "completion: bash, fish and zsh offer every subcommand, option and kind"
exit $((failures > 0))
