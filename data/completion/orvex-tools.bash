# bash completion for orvex-cli and orvex-kit.
#
# The commands, their options and the files they take are read from the program's
# own --help, so the completion knows every command the installed program knows:
# a command is a line of two blanks and a lower-case word, deeper-indented lines
# continue it, and a placeholder such as ARCHIVO.ORV asks for files of its extension.

# The --help lines of one command (all of them when it has several forms).
_orvex_tools_usage()
{
    awk -v c="$2" '/^  [a-z]/ { on = ($1 == c) } /^  -/ || /^$/ { on = 0 } on' <<<"$1"
}

# Files of the given extensions (either case) and folders, or every file when no
# extension is given.
_orvex_tools_files()
{
    local cur=$1 f
    shift
    compopt -o filenames 2>/dev/null
    if [ $# -eq 0 ]; then
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
    while IFS= read -r f; do
        local ext
        for ext in "$@"; do
            if [[ ${f,,} == *."${ext,,}" && ! -d $f ]]; then
                COMPREPLY+=("$f")
                break
            fi
        done
    done < <(compgen -f -- "$cur")
}

_orvex_tools()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local help
    help=$("${COMP_WORDS[0]}" --help 2>/dev/null) || return 0
    COMPREPLY=()

    if ((COMP_CWORD == 1)); then
        local names
        names=$(sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p' <<<"$help" | sort -u)
        mapfile -t COMPREPLY < <(compgen -W "$names --help --version" -- "$cur")
        return 0
    fi

    local usage
    usage=$(_orvex_tools_usage "$help" "${COMP_WORDS[1]}")
    [ -n "$usage" ] || return 0

    if [[ $cur == -* ]]; then
        local options
        options=$(grep -oE '(^|[[ (])--?[a-z][a-z-]*' <<<"$usage" | sed 's/^[[ (]//' | sort -u)
        mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
        return 0
    fi

    # The value of an option: what its placeholder asks for.
    if [[ $prev == -* ]]; then
        local placeholder
        placeholder=$(grep -oE -- "(^|[[ ])$prev [^] ]+" <<<"$usage" | head -n 1 | awk '{print $2}')
        if [ -n "$placeholder" ]; then
            if [[ $placeholder == *.* ]]; then
                _orvex_tools_files "$cur" "${placeholder##*.}"
            else
                _orvex_tools_files "$cur"
            fi
            return 0
        fi
    fi

    # A second word written in lower case, such as show|export|search.
    if ((COMP_CWORD == 2)); then
        local words
        words=$(awk '/^  [a-z]/ && $2 ~ /^[a-z]+(\|[a-z]+)*$/ { print $2 }' <<<"$usage" | tr '|' '\n')
        if [ -n "$words" ]; then
            mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
            return 0
        fi
    fi

    # Otherwise files: of the extensions the command's own placeholders name.
    local extensions
    extensions=$(awk '{
        for (i = 2; i <= NF; i++) {
            t = $i; p = $(i - 1)
            gsub(/[][]/, "", t); gsub(/[][]/, "", p)
            if (t ~ /^[A-Z][A-Z_]*\.[A-Za-z0-9]+$/ && p !~ /^-/) { sub(/.*\./, "", t); print t }
        }
    }' <<<"$usage" | sort -u)
    # shellcheck disable=SC2086
    _orvex_tools_files "$cur" $extensions
    return 0
}

complete -F _orvex_tools orvex-cli orvex-kit
