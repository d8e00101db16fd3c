#!/bin/sh
# Holds every #include "..." under src/ and tools/ to the layer order of
# src/README.md: a file may include its own folder and the folders of lower
# layers, never a higher layer nor a folder beside its own in the same layer.
# Prints each include that breaks the order (file, line, include, why) and
# fails if there is one; a file in no layer, or an include that names no file
# of src/ or tools/, fails too, so the order has to stay complete.
# include_order.sh <source root>
root=${1:?usage: include_order.sh <source root>}
cd "$root" || exit 2
[ -f src/README.md ] || { echo "FAIL: no src/README.md to read the layers from" >&2; exit 1; }

# "folder layer" lines from the numbered list under "## Layers": the
# back-quoted folder names that open an item, before its first colon.
layers=$(awk '
    /^## / { inside = ($0 == "## Layers"); next }
    inside && /^[0-9]+\. / {
        n = $0 + 0
        rest = substr($0, index($0, " ") + 1)
        while (match(rest, /^`[a-z][a-z0-9_-]*\/`(, )?/)) {
            name = substr(rest, 2, index(substr(rest, 2), "`") - 1)
            sub(/\/$/, "", name)
            print name, n
            rest = substr(rest, RLENGTH + 1)
        }
    }' src/README.md)
[ -n "$layers" ] || { echo "FAIL: no layers listed under \"## Layers\" in src/README.md" >&2; exit 1; }

# The folder a path of the tree belongs to: tools/... is "tools", src/X/... is X.
folder_of() {
    case $1 in
    tools/*) echo tools ;;
    src/*/*) p=${1#src/}; echo "${p%%/*}" ;;
    *) echo "" ;;
    esac
}

layer_of() {
    printf '%s\n' "$layers" | awk -v f="$1" '$1 == f { print $2; exit }'
}

bad=$(mktemp)
trap 'rm -f "$bad"' EXIT
find src tools -type f \( -name '*.h' -o -name '*.cpp' \) | LC_ALL=C sort | while read -r file; do
    from=$(folder_of "$file")
    from_layer=$(layer_of "$from")
    if [ -z "$from_layer" ]; then
        echo "$file: in no layer of src/README.md (folder \"$from\")" >>"$bad"
        continue
    fi
    grep -n '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" | while IFS= read -r hit; do
        line=${hit%%:*}
        included=$(printf '%s\n' "$hit" | sed 's/^[^"]*"\([^"]*\)".*/\1/')
        # As the compiler finds it: beside the file first, then from src/,
        # then from tools/ (the drawing tool's own headers).
        if [ -f "$(dirname "$file")/$included" ]; then
            target=$(realpath --relative-to=. "$(dirname "$file")/$included")
        elif [ -f "src/$included" ]; then
            target=src/$included
        elif [ -f "tools/$included" ]; then
            target=tools/$included
        else
            echo "$file:$line: #include \"$included\": names no file of src/ or tools/" >>"$bad"
            continue
        fi
        to=$(folder_of "$target")
        [ "$to" = "$from" ] && continue
        to_layer=$(layer_of "$to")
        if [ -z "$to_layer" ]; then
            echo "$file:$line: #include \"$included\": $target is in no layer" >>"$bad"
        elif [ "$to_layer" -gt "$from_layer" ]; then
            echo "$file:$line: #include \"$included\": $from/ (layer $from_layer) includes $to/ (layer $to_layer) above it" >>"$bad"
        elif [ "$to_layer" -eq "$from_layer" ]; then
            echo "$file:$line: #include \"$included\": $from/ includes $to/ beside it in layer $to_layer" >>"$bad"
        fi
    done
done

if [ -s "$bad" ]; then
    cat "$bad" >&2
    echo "FAIL: $(wc -l <"$bad") include(s) against the layer order of src/README.md" >&2
    exit 1
fi
echo "every include follows the layer order of src/README.md"
