# bash completion for qx7ctl: commands, options, and .qmx files for the
# commands that take a preset file.
_qx7ctl() {
    local cur prev
    COMPREPLY=()
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD-1]}
    local commands="info get set save load recall name inspect upgrade eq diff graph list"
    local options="--serial --bluetooth --simulated --usb --timeout --quiet --json --size --help --target --range --smoothing --max-boost --write --offline --daemon"

    case $prev in
        --bluetooth | --daemon)
            COMPREPLY=($(compgen -f -- "$cur"))
            return
            ;;
        --serial)
            # The path is optional: offer serial ports, and the rest as usual.
            if [[ $cur == /* ]]; then
                COMPREPLY=($(compgen -f -- "$cur"))
                return
            fi
            ;;
        --usb)
            COMPREPLY=($(compgen -W "$(compgen -G '/dev/hidraw*')" -- "$cur"))
            return
            ;;
        --target)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -W "flat house" -- "$cur") $(compgen -f -- "$cur"))
            return
            ;;
        --smoothing)
            COMPREPLY=($(compgen -W "3 6 12 24 none" -- "$cur"))
            return
            ;;
        --timeout | --size | --range | --max-boost)
            return
            ;;
    esac

    local command="" i
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --bluetooth | --timeout | --usb | --size | --target | --range | --smoothing | --max-boost) ((i++)) ;;
            --serial) [[ ${COMP_WORDS[i+1]} == /* ]] && ((i++)) ;;
            -*) ;;
            *) command=${COMP_WORDS[i]}; break ;;
        esac
    done

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$options" -- "$cur"))
        return
    fi
    if [[ -z $command ]]; then
        COMPREPLY=($(compgen -W "$commands" -- "$cur"))
        return
    fi
    case $command in
        load | save | inspect)
            # Only the first argument is a file.
            if ((i == COMP_CWORD - 1)); then
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -X '!*.qmx' -- "$cur") $(compgen -d -- "$cur"))
            fi
            ;;
        eq)
            local pages="main center sub backround surround music mic echo reverb"
            if ((i == COMP_CWORD - 1)); then
                COMPREPLY=($(compgen -W "export import fit" -- "$cur"))
            elif ((i == COMP_CWORD - 2)); then
                COMPREPLY=($(compgen -W "$pages" -- "$cur"))
            else
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -- "$cur"))
            fi
            ;;
        graph)
            if ((i == COMP_CWORD - 1)); then
                COMPREPLY=($(compgen -W "main center sub backround surround music mic echo reverb" -- "$cur"))
            else
                compopt -o filenames 2>/dev/null
                COMPREPLY=($(compgen -f -X '!*.png' -- "$cur") $(compgen -d -- "$cur"))
            fi
            ;;
        diff)
            compopt -o filenames 2>/dev/null
            COMPREPLY=($(compgen -W "device" -- "$cur") $(compgen -f -X '!*.qmx' -- "$cur") $(compgen -d -- "$cur"))
            ;;
        recall | name)
            ((i == COMP_CWORD - 1)) && COMPREPLY=($(compgen -W "$(seq 1 16)" -- "$cur"))
            ;;
    esac
}
complete -F _qx7ctl qx7ctl
