#!/bin/sh
# Usage: check-includes.sh SOURCE_DIR FOLDERS_FILE FILES_FILE
# Fails, naming file:line, when a file includes "folder/..." from a folder its
# own folder does not link (FOLDERS_FILE: "folder allowed..." per line). The
# files checked are those of FILES_FILE and the headers of their own folder
# that they include, and those headers' in turn.
root=$1
folders=$2
files=$3
exec awk -v root="$root" '
function folder_of(path) {
    sub("^" root "/", "", path)
    sub("/.*", "", path)
    return path
}
function queue_file(path) {
    if (!(path in queued)) {
        queued[path] = 1
        todo[++last] = path
    }
}
function is_folder(name,    probe, ok) {
    if (!(name in known)) {
        probe = "test -d \"" root "/" name "\""
        known[name] = system(probe) == 0
    }
    return known[name]
}
FILENAME == ARGV[1] {
    for (i = 1; i <= NF; ++i)
        allowed[$1 " " $i] = 1
    checked[$1] = 1
    next
}
NF > 0 && (folder_of($0) in checked) { queue_file($0) }
END {
    failed = 0
    for (n = 1; n <= last; ++n) {
        path = todo[n]
        own = folder_of(path)
        line = 0
        while ((getline text < path) > 0) {
            ++line
            if (text !~ /^[ \t]*#[ \t]*include[ \t]*"[^"\/]+\//)
                continue
            target = text
            sub(/^[^"]*"/, "", target)
            sub(/".*/, "", target)
            folder = target
            sub(/\/.*/, "", folder)
            if (!is_folder(folder))
                continue
            if (folder == own) {
                if ((getline probe < (root "/" target)) >= 0) {
                    close(root "/" target)
                    queue_file(root "/" target)
                }
            } else if (!((own " " folder) in allowed)) {
                printf "%s:%d: %s/ may not include \"%s\" (%s/ links no %s/ library)\n", \
                    path, line, own, target, own, folder
                failed = 1
            }
        }
        close(path)
    }
    exit failed
}
' "$folders" "$files"
