#!/usr/bin/env bash
# Unpacks a Debian source package (with Debian's patches applied) below DEST and prints its
# folder; one unpacked before is used again: debian-source.sh PACKAGE DEST
# The sources are fetched through apt lists of their own in DEST/apt, so the machine's apt
# configuration stays as it is; dpkg-dev unpacks them.
set -euo pipefail
package=$1
dest=$(mkdir -p "$2" && cd "$2" && pwd)
unpacked() { find "$dest" -mindepth 1 -maxdepth 1 -type d -name "$package-*" | sort | tail -1; }
if [ -n "$(unpacked)" ]; then
    unpacked
    exit 0
fi
apt=$dest/apt
O=(-o "Dir::Etc::SourceList=$apt/sources.list" -o "Dir::Etc::SourceParts=$apt/none"
   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache=$apt/cache" -o Debug::NoLocking=1
   -o APT::Sandbox::User=root)
if [ ! -f "$apt/lists/.updated" ]; then
    mkdir -p "$apt/lists/partial" "$apt/cache/archives/partial" "$apt/none"
    printf '%s\n' "deb-src http://deb.debian.org/debian bookworm main" \
        "deb-src http://deb.debian.org/debian-security bookworm-security main" > "$apt/sources.list"
    apt-get "${O[@]}" update -qq >&2
    touch "$apt/lists/.updated"
fi
(cd "$dest" && apt-get "${O[@]}" source -qq "$package" >&2)
unpacked
