#!/usr/bin/env bash
# Writes the program icon (resources/windows/velmora-cindral.ico) from the gear of the picture
# collection (128 x 128): an icon file whose one image is that PNG, which Windows scales to every
# size. Run it again when the picture changes; the result is committed.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
png=$root/resources/pictures/gear256.png
ico=$root/resources/windows/velmora-cindral.ico
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $((($1 >> 8) & 255)); }
le32() { le16 $(($1 & 65535)); le16 $((($1 >> 16) & 65535)); }
size=$(stat -c %s "$png")
{
    printf '\x00\x00\x01\x00\x01\x00'       # reserved, type 1 (icon), one image
    printf '\x80\x80\x00\x00'               # 128 x 128, no palette, reserved
    printf "$(le16 1)$(le16 32)"            # planes, bits per pixel
    printf "$(le32 "$size")$(le32 22)"      # bytes of the image, where it starts
    cat "$png"
} > "$ico"
echo "$ico: $(stat -c %s "$ico") bytes"
