# bash completion for tdxxload-cli: subcommands, their options, the option values the program
# takes (simulated device kinds, download methods, key-file kinds), the HID interfaces that
# `detect --json --all` lists for --device, and data files by their extension.

# The interface paths of the attached (or, with --simulate, the simulated) devices.
_tdxxload_cli_devices() {
    local simulate=$1
    local -a args=()
    [[ -n $simulate ]] && args=(--simulate="$simulate")
    tdxxload-cli "${args[@]}" detect --json --all 2>/dev/null |
        grep -o '"path": *"[^"]*"' | sed 's/^"path": *"//; s/"$//'
}

# The simulated device kinds, as `tdxxload-cli --help` names them.
_tdxxload_cli_kinds() {
    echo 917-v4 917-v5 917-bootloader tdxx-bootloader td-b-bootloader wk-c-bootloader \
        tds-bootloader 947-bootloader 947-tds-bootloader td-a td-b wk-c prg-tmode prg-tmode-td-b \
        prg-tmode-wk-c td-a-kbmouse td-b-kbmouse wk-c-kbmouse slimkey-947 mouse
}

_tdxxload_cli() {
    local cur prev words cword split
    _init_completion -s -n := || return

    # The subcommand, and the --simulate value given before it (for --device paths).
    local subcommand="" simulate="" i
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --simulate=*) simulate=${words[i]#--simulate=} ;;
            --simulate) simulate=${words[i + 1]} ;;
            inspect | detect | doctor | download | erase | reboot | bootloader | keys)
                if [[ -z $subcommand && ${words[i - 1]} != --@(simulate|device|record-hid) ]]; then
                    subcommand=${words[i]}
                fi
                ;;
        esac
    done

    case $prev in
        --simulate)
            if [[ $cur == replay:* ]]; then
                local file=${cur#replay:}
                COMPREPLY=($(compgen -f -P replay: -- "$file"))
            else
                # KIND[,KIND...]: complete the kind after the last comma.
                local before="" last=$cur
                if [[ $cur == *,* ]]; then
                    before=${cur%,*},
                    last=${cur##*,}
                fi
                COMPREPLY=($(compgen -P "$before" -W "$(_tdxxload_cli_kinds)" -- "$last"))
                [[ -z $before ]] && COMPREPLY+=($(compgen -W "replay:" -- "$cur"))
                compopt -o nospace
            fi
            return
            ;;
        --device)
            COMPREPLY=($(compgen -W "$(_tdxxload_cli_devices "$simulate")" -- "$cur"))
            return
            ;;
        --record-hid)
            _filedir
            return
            ;;
        --method)
            COMPREPLY=($(compgen -W "standard prg flash" -- "$cur"))
            return
            ;;
        --wait)
            return
            ;;
        --new)
            COMPREPLY=($(compgen -W "td-a td-b wk-c" -- "$cur"))
            return
            ;;
        --output)
            _filedir ckd
            return
            ;;
        --set | --mode | --auto-repeat | --key-type | --global)
            # KEY.LEVEL=VALUE and NAME=VALUE: nothing to offer.
            return
            ;;
    esac
    [[ $split == true ]] && return

    local options
    case $subcommand in
        "")
            options="--simulate --device --record-hid --json --version --help"
            if [[ $cur != -* ]]; then
                COMPREPLY=($(compgen -W "inspect detect doctor download erase reboot bootloader keys" \
                    -- "$cur"))
                return
            fi
            ;;
        inspect) options="--json --help" ;;
        detect) options="--json --all --help" ;;
        doctor) options="--json --help" ;;
        download) options="--json --yes --no --method --wait --dry-run --help" ;;
        erase | reboot | bootloader) options="--json --yes --no --help" ;;
        keys)
            options="--json --set --mode --auto-repeat --key-type --global --output --new --help"
            ;;
    esac
    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    case $subcommand in
        inspect | download) _filedir '@(ckd|upg|bin)' ;;
        keys) _filedir ckd ;;
    esac
}
complete -F _tdxxload_cli tdxxload-cli
