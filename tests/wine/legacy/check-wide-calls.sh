#!/usr/bin/env bash
# Reads "COUNT dll.Function" lines (the calls of a relay trace, counted) and prints those to a
# wide ("W") function that the Windows 95 family has only as a stub that fails; exit code 1
# when there is any. The few wide functions that the 95 family really has are allowed.
set -eu
real_on_95='^(MessageBoxW|MessageBoxExW|lstrlenW|MultiByteToWideChar|WideCharToMultiByte|TextOutW|ExtTextOutW|GetTextExtentPointW|GetTextExtentPoint32W|GetTextExtentExPointW|GetCharWidthW|EnumResourceLanguagesW|EnumResourceNamesW|EnumResourceTypesW|FindResourceW|FindResourceExW|GetCommandLineW)$'
status=0
while read -r count call; do
    [ -n "$call" ] || continue
    function=${call#*.}
    # A wide function's name ends in "W" after a lower-case letter or a digit (CreateFileW,
    # Shell_NotifyIconW), unlike ShowWindow or a name that is all capitals.
    [[ $function =~ [a-z0-9]W$ ]] || continue
    [[ $function =~ $real_on_95 ]] && continue
    echo "$call ($count calls)"
    status=1
done
exit $status
