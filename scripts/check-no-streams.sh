#!/usr/bin/env bash
# Checks that no shipped program links the C++ stream and locale machinery. One stream object in
# any linked unit brings all of it (facets for numbers, money, time and code conversion, some
# hundreds of KB) whether or not the program ever formats through it. The symbols are read from
# the debug file kept beside the stripped program.
#   check-no-streams.sh PROGRAM ...
set -eu
# A few symbols that only the stream and locale machinery defines.
telling='std::basic_ios<|std::basic_[io]stream<|std::basic_stringbuf<|std::basic_filebuf<|std::locale::|std::ios_base::|std::num_get<|std::num_put<|std::money_get<|std::time_get<|std::codecvt<'
status=0
for exe in "$@"; do
    symbols=$(i686-w64-mingw32-nm -C --defined-only "$exe.debug") ||
        { echo "$exe: no symbols to read in $exe.debug"; status=1; continue; }
    found=$(grep -E "$telling" <<<"$symbols" | sed 's/^[0-9a-f]* . //' | sort -u || true)
    if [ -n "$found" ]; then
        echo "$exe: links the stream and locale machinery ($(wc -l <<<"$found") symbols), for example:"
        head -n 8 <<<"$found" | sed 's/^/    /'
        status=1
    else
        echo "$exe: no stream or locale machinery"
    fi
done
exit $status
