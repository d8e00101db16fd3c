# ctest's progress as one short line a finished test: its result, its time
# and its name. ctest pads every name with dots to the longest one, so one
# long name made every line wrap; the line it prints when a test starts
# goes too, the result line says the same. The skipped tests are listed
# with their reasons at the end (skipped.awk), so ctest's own list of them,
# which gives no reason, goes as well.
# Blank lines wait for the next line that stays, so none is left where a
# dropped block was.
function out(line) {
    for (; blank > 0; blank--) print ""
    print line
    fflush()
}
/^$/ { blank++; next }
/^ +Start +[0-9]+: / { next }
/^The following tests did not run:$/ { blank = 0; next }
/^\t *[0-9]+ - .* \(Skipped\)$/ { next }
match($0, /^ *[0-9]+\/[0-9]+ +Test +#[0-9]+: /) {
    rest = substr($0, RLENGTH + 1)
    if (match(rest, / +[0-9.]+ sec$/)) {
        time = substr(rest, RSTART, RLENGTH)
        rest = substr(rest, 1, RSTART - 1)
        gsub(/[^0-9.]/, "", time)
        if (match(rest, / \.\.\.+ */)) {
            name = substr(rest, 1, RSTART - 1)
            result = substr(rest, RSTART + RLENGTH)
            sub(/^\*+/, "", result)
            out(sprintf("%-7s %6.2fs  %s", result, time, name))
            next
        }
    }
}
{ out($0) }
