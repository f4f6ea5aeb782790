# Shared by the install and package checks: the files an installation under
# the prefix <root>/usr must hold.
# expect_installed <root> <app id> "<icon sizes>"
expect_installed() {
    local root="$1" id="$2" sizes="$3" missing=0 path
    local expected=(
        "usr/bin/quillmark"
        "usr/share/applications/$id.desktop"
        "usr/share/metainfo/$id.metainfo.xml"
        "usr/share/icons/hicolor/scalable/apps/$id.svg"
        "usr/share/doc/quillmark/copyright"
        "usr/share/doc/quillmark/changelog.gz"
        "usr/share/man/man1/quillmark.1.gz"
    )
    for size in $sizes; do
        expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$id.png")
    done
    for path in "${expected[@]}"; do
        if [ ! -f "$root/$path" ]; then
            echo "FAIL: $path is not installed"
            missing=1
        fi
    done
    if [ -f "$root/usr/bin/quillmark" ] && [ ! -x "$root/usr/bin/quillmark" ]; then
        echo "FAIL: usr/bin/quillmark is not executable"
        missing=1
    fi
    for size in $sizes; do
        path="$root/usr/share/icons/hicolor/${size}x${size}/apps/$id.png"
        [ -f "$path" ] || continue
        if ! file "$path" | grep -q "PNG image data, $size x $size,"; then
            echo "FAIL: $path is not a $size px PNG: $(file -b "$path")"
            missing=1
        fi
    done
    return $missing
}
