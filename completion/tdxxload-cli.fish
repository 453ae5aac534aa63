# fish completion for tdxxload-cli: subcommands, their options, the option values the program
# takes (simulated device kinds, download methods, key-file kinds), the HID interfaces that
# `detect --json --all` lists for --device, and data files by their extension.

set -l subcommands inspect detect doctor download erase reboot bootloader keys
set -l kinds 917-v4 917-v5 917-bootloader tdxx-bootloader td-b-bootloader wk-c-bootloader \
    tds-bootloader 947-bootloader 947-tds-bootloader td-a td-b wk-c prg-tmode prg-tmode-td-b \
    prg-tmode-wk-c td-a-kbmouse td-b-kbmouse wk-c-kbmouse slimkey-947 mouse

# KIND[,KIND...]: the kinds after what is typed up to the last comma; or replay:FILE.
function __tdxxload_cli_simulate --inherit-variable kinds
    set -l token (commandline -ct | string replace -r '^--simulate=' '')
    if string match -q 'replay:*' -- $token
        __fish_complete_path (string replace 'replay:' '' -- $token) | string replace -r '^' 'replay:'
        return
    end
    set -l before (string match -r '^.*,' -- $token)
    printf '%s\n' "$before"$kinds
    test -z "$before"; and echo replay:
end

# The interface paths of the attached (or, with --simulate, the simulated) devices.
function __tdxxload_cli_devices
    set -l simulate (commandline -opc | string match -r -- '^--simulate=.*' | string replace -- '--simulate=' '')
    set -l args
    test -n "$simulate"; and set args --simulate=$simulate[1]
    tdxxload-cli $args detect --json --all 2>/dev/null | string match -ar '"path": *"[^"]*"' |
        string replace -r '^"path": *"(.*)"$' '$1'
end

# The data files a subcommand takes, by extension (any letter case).
function __tdxxload_cli_files
    set -l token (commandline -ct)
    for file in (__fish_complete_path $token | string replace -r '\t.*' '')
        if string match -qr -- '/$' $file; or string match -qir -- "\.($argv[1])\$" $file
            echo $file
        end
    end
end

complete -c tdxxload-cli -f
set -l none "not __fish_seen_subcommand_from $subcommands"
complete -c tdxxload-cli -n $none -a inspect -d 'Read a .ckd, .upg or .bin file and show it'
complete -c tdxxload-cli -n $none -a detect -d 'Find the connected device'
complete -c tdxxload-cli -n $none -a doctor -d 'Check what the loader needs'
complete -c tdxxload-cli -n $none -a download -d 'Load FILE and send it to the device'
complete -c tdxxload-cli -n $none -a erase -d "Erase the keypad's settings"
complete -c tdxxload-cli -n $none -a reboot -d 'Reboot the keypad'
complete -c tdxxload-cli -n $none -a bootloader -d 'Switch the keypad to its bootloader'
complete -c tdxxload-cli -n $none -a keys -d 'Show or edit the key definitions of a .ckd file'

complete -c tdxxload-cli -n $none -l simulate -x -a '(__tdxxload_cli_simulate)' -d 'Use simulated devices'
complete -c tdxxload-cli -n $none -l device -x -a '(__tdxxload_cli_devices)' -d 'Look only at this HID interface'
complete -c tdxxload-cli -n $none -l record-hid -r -F -d 'Write every HID call to FILE'
complete -c tdxxload-cli -n $none -l version -d 'Print the version and exit'
complete -c tdxxload-cli -s h -l help -d 'Print the help and exit'
complete -c tdxxload-cli -l json -d 'Print one JSON object'

set -l device_commands download erase reboot bootloader
complete -c tdxxload-cli -n "__fish_seen_subcommand_from $device_commands" -l yes -d 'Answer the question Yes'
complete -c tdxxload-cli -n "__fish_seen_subcommand_from $device_commands" -l no -d 'Answer the question No'

complete -c tdxxload-cli -n '__fish_seen_subcommand_from detect' -l all -d 'List every attached keypad or bootloader'

complete -c tdxxload-cli -n '__fish_seen_subcommand_from inspect download' -a '(__tdxxload_cli_files "ckd|upg|bin")'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from download' -l method -x -a 'standard prg flash' -d 'Download method for this run only'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from download' -l wait -x -d 'Look for the PRG/TMode keypad for up to SECONDS'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from download' -l dry-run -d 'Print what would be sent; send nothing'

complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -a '(__tdxxload_cli_files ckd)'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l set -x -d 'KEY.LEVEL=SPEC: set a key level'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l mode -x -d "KEY.LEVEL=N: set a key level's mode"
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l auto-repeat -x -d "KEY.LEVEL=0|1: set a key level's auto-repeat"
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l key-type -x -d "KEY=0|1|2: set a key's type"
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l global -x -d 'NAME=VALUE: set a global setting'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l output -r -a '(__tdxxload_cli_files ckd)' -d 'Write the edited file to OUT'
complete -c tdxxload-cli -n '__fish_seen_subcommand_from keys' -l new -x -a 'td-a td-b wk-c' -d 'Start a new key file for this keypad'
