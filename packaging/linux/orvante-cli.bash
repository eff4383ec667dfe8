# bash completion for orvante-cli                                     -*- shell-script -*-

_orvante_cli()
{
    local cur prev words cword
    _init_completion || return

    case $prev in
        --timeout | --seconds)
            return
            ;;
        --device)
            COMPREPLY=($(compgen -G "/dev/hidraw*" -- "$cur"))
            return
            ;;
        --csv)
            _filedir csv
            return
            ;;
    esac

    # The command word: the first word that is neither an option nor an option's value.
    local i command=
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --timeout | --seconds | --csv | --device) ((i++)) ;;
            -*) ;;
            *)
                command=${words[i]}
                break
                ;;
        esac
    done

    local global="--help --version --timeout --verbose --device"
    if [[ -z $command ]]; then
        if [[ $cur == -* ]]; then
            COMPREPLY=($(compgen -W "$global" -- "$cur"))
        else
            COMPREPLY=($(compgen -W "list info backup restore diff flash record store" -- "$cur"))
        fi
        return
    fi

    local options=
    case $command in
        list | info) options="--json" ;;
        backup | restore | diff)
            case $command in
                restore) options="--dry-run --store" ;;
                diff) options="--json" ;;
            esac
            if [[ $cur != -* ]]; then
                _filedir json
                return
            fi
            ;;
        flash)
            options="--force"
            if [[ $cur != -* ]]; then
                _filedir bin
                return
            fi
            ;;
        record) options="--seconds --csv" ;;
    esac
    COMPREPLY=($(compgen -W "$options $global" -- "$cur"))
} &&
    complete -F _orvante_cli orvante-cli orvante-cli-demo

# ex: filetype=sh
