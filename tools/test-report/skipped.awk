# The skipped tests of a ctest run and why, from its JUnit file
# (ctest --output-junit): one line a test, "Skipped: name – reason". A
# Google Test skip prints "file:line: Skipped" and its message on the lines
# after it, up to a blank line or Google Test's next "[ ... ]" line; a test
# that skips several cases gives each different reason once.
function text(s) {
    gsub(/&lt;/, "<", s); gsub(/&gt;/, ">", s); gsub(/&quot;/, "\"", s)
    gsub(/&apos;/, "'", s); gsub(/&amp;/, "\\&", s)
    return s
}
/<testcase name="/ {
    name = $0
    sub(/^.*<testcase name="/, "", name)
    sub(/".*$/, "", name)
    name = text(name)
    skipped = 0; reasons = ""; message = ""; reading = 0; seen_count = 0
    split("", seen)
    next
}
/<skipped message="/ {
    skipped = 1
    message = $0
    sub(/^.*<skipped message="/, "", message)
    sub(/".*$/, "", message)
    message = text(message)
}
reading {
    line = text($0)
    if (line ~ /^[ \t]*$/ || line ~ /^\[/ || line ~ /<\/system-out>/) {
        reading = 0
        if (reason != "" && !(reason in seen)) {
            seen[reason] = 1
            reasons = reasons (reasons == "" ? "" : "; ") reason
        }
    } else {
        reason = reason (reason == "" ? "" : " ") line
    }
    next
}
{
    line = $0
    sub(/^[ \t]*<system-out>/, "", line)
    if (line ~ /: Skipped$/) { reading = 1; reason = ""; next }
}
/<\/testcase>/ {
    if (skipped) {
        if (!count++) print ""
        print "Skipped: " name " – " (reasons != "" ? reasons : message)
    }
}
END { if (count) printf "%d tests skipped.\n", count }
