# bash completion for kestrix-cli and tolvexctl. Commands and options are read from the program's
# own --help, so the completion always knows what the installed program knows.

# Prints "NAME VALUE" per option (VALUE empty for a flag) or the command names, from the help of
# PROGRAM COMMAND... given after the section heading.
_kestrix_help_entries() {
    local section=$1
    shift
    "$@" --help 2>/dev/null | awk -v section="$section:" '
        /^[A-Z][A-Za-z ]*:$/ { inside = ($0 == section); next }
        !inside || !/^  [^ ]/ { next }
        section == "Options:" {
            match($0, /^  [^ ]+( [^ ]+)?/)
            split(substr($0, 3, RLENGTH - 2), parts, " ")
            n = split(parts[1], names, ",")
            print names[n], parts[2]
            next
        }
        { print $1 }'
}

# Completes the word under the cursor for PROGRAM, whose options before the command are global.
_kestrix_complete() {
    local program=$1 cur prev words cword
    _init_completion || return

    local command=("$program") i word value
    for ((i = 1; i < cword; i++)); do
        word=${words[i]}
        if [[ $word == -* ]]; then
            value=$(_kestrix_help_entries Options "${command[@]}" | awk -v name="$word" '$1 == name { print $2 }')
            [[ -n $value ]] && ((i++))
        elif _kestrix_help_entries Subcommands "${command[@]}" | grep -qxF -- "$word"; then
            command+=("$word")
        fi
    done

    value=$(_kestrix_help_entries Options "${command[@]}" | awk -v name="$prev" '$1 == name { print $2 }')
    if [[ $prev == -* && -n $value ]]; then
        case $prev in
        --config) _filedir ini ;;
        --json) _filedir json ;;
        --save) _filedir '@(xlsx|html|csv|pdf)' ;;
        --device) COMPREPLY=($(compgen -G "/dev/tty[SUA]*" -- "$cur")) ;;
        --port) [[ $value == *DEVICE* ]] && COMPREPLY=($(compgen -G "/dev/tty[SUA]*" -- "$cur")) ;;
        --from) [[ $value == *FILE* ]] && _filedir loc ;;
        *) # the choices a value name lists, such as none|odd|even; names in capitals are no choice
            COMPREPLY=($(compgen -W "$(tr '|' '\n' <<<"$value" | grep -v '^[A-Z0-9]*$')" -- "$cur")) ;;
        esac
        return
    fi
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$(_kestrix_help_entries Options "${command[@]}" | cut -d' ' -f1)" -- "$cur"))
        return
    fi
    local commands
    commands=$(_kestrix_help_entries Subcommands "${command[@]}")
    if [[ -n $commands ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
    else
        _filedir '@(json|loc)'
    fi
}

_kestrix_cli() { _kestrix_complete kestrix-cli; }
_tolvexctl() { _kestrix_complete tolvexctl; }
complete -F _kestrix_cli kestrix-cli
complete -F _tolvexctl tolvexctl
