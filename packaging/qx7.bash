# bash completion for qx7: its options and the transport options.
_qx7() {
    local cur prev
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    local options="--daemon --screenshots --update-server --help
        --serial --bluetooth --simulated --simulated-stuck-usb --usb --network --relay --device-id"

    case $prev in
        --daemon)
            # The value is optional: a socket, or qx7d's URL.
            if [[ $cur == /* ]]; then
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -- "$cur"))
                return
            fi
            if [[ $cur == h* ]]; then
                COMPREPLY=($(compgen -W "http://127.0.0.1:8437" -- "$cur"))
                return
            fi
            ;;
        --screenshots | --bluetooth)
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
        --network | --relay | --device-id | --update-server)
            return
            ;;
    esac
    COMPREPLY=($(compgen -W "$options" -- "$cur"))
}
complete -F _qx7 qx7
