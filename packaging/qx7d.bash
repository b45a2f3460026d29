# bash completion for qx7d: its options and the transport options.
_qx7d() {
    local cur prev
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    local options="--listen --no-tcp --socket --no-socket --token-file --new-token --quiet --help
        --serial --bluetooth --simulated --simulated-stuck-usb --usb --network --relay --device-id"

    case $prev in
        --socket | --token-file | --bluetooth)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        --serial)
            if [[ $cur == /* ]]; then
                COMPREPLY=($(compgen -f -- "$cur"))
                return
            fi
            ;;
        --usb)
            COMPREPLY=($(compgen -W "$(compgen -G '/dev/hidraw*')" -- "$cur"))
            return
            ;;
        --listen)
            COMPREPLY=($(compgen -W "127.0.0.1:8437" -- "$cur"))
            return
            ;;
        --network | --relay | --device-id)
            return
            ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _qx7d qx7d
