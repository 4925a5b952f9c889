#!/usr/bin/env bash
# Completes stepsmith command lines with the completion file given and compares the results.
# Usage: completion-test.bash COMPLETION_FILE WORK_DIR

. /usr/share/bash-completion/bash_completion || exit 1
. "$1" || exit 1
mkdir -p "$2" && cd "$2" || exit 1
rm -rf ./*
touch -- a.zml B.ZML notes.txt out.pdf -dash.zml
mkdir sub

# The sorted candidates for the line given as words, the cursor at the end of the last word.
candidates()
{
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMP_LINE="$*"
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _stepsmith stepsmith "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    printf '%s\n' "${COMPREPLY[@]}" | LC_ALL=C sort | tr '\n' ' '
}

failed=0
expect()
{
    local wanted=$1
    shift
    local got
    got=$(candidates "$@")
    if [[ $got != "$wanted" ]]; then
        echo "FAILED: '$*' completes to '$got', expected '$wanted'"
        failed=1
    fi
}

expect "--catalogue --check " stepsmith --c
expect "--diagnostics=json " stepsmith --check --diag
expect "json " stepsmith --check --diagnostics=j
expect "--export-pdf " stepsmith --ex
expect "B.ZML a.zml sub " stepsmith --check ""
expect "B.ZML a.zml sub " stepsmith ""
expect "a.zml " stepsmith --format a
expect "out.pdf sub " stepsmith --export-pdf a.zml ""
expect "-dash.zml B.ZML a.zml notes.txt out.pdf sub " stepsmith --check -- ""
expect "notes.txt " stepsmith --catalogue n
exit $failed
