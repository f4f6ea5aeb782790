#!/usr/bin/env bash
# Desktop integration and packaging, checked on what the build made; a missing tool skips (77).
# check.sh <test> <build dir> <app id> "<icon sizes>" <version>
set -euo pipefail
build=$2 id=$3 sizes=${4//;/ } version=$5 data=$2/packaging failed=0
need() { for tool; do command -v "$tool" >/dev/null || { echo "SKIP: no $tool"; exit 77; }; done; }
fail() { echo "FAIL: $*" >&2; failed=1; }
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
# <root>: every file of an installation under /usr and nothing else (the shared settings
# folder is made by the postinst or a root install), the icons at their sizes.
installed() {
    for size in $sizes; do
        icon=usr/share/icons/hicolor/${size}x$size/apps/$id.png
        echo "./$icon"
        [[ $(file "$1/$icon") == *"PNG image data, $size x $size,"* ]] || fail "$icon is not $size px"
    done >"$scratch/expected"
    printf './usr/%s\n' bin/quillmark share/applications/$id.desktop share/metainfo/$id.metainfo.xml \
        share/icons/hicolor/scalable/apps/$id.svg share/doc/quillmark/{copyright,changelog.gz} \
        share/man/man1/quillmark.1.gz share/mime/packages/$id.xml \
        share/bash-completion/completions/quillmark >>"$scratch/expected"
    diff <(sort "$scratch/expected") <(cd "$1" && find . -empty -o ! -type d | sort) || fail "files differ"
    [ -x "$1/usr/bin/quillmark" ] || fail "usr/bin/quillmark is not executable"
}
case $1 in
desktop_file_validate) # with the address files' type it opens, and the completion's syntax
    need desktop-file-validate update-mime-database
    desktop-file-validate "$data/$id.desktop"
    grep -qx StartupNotify=true "$data/$id.desktop" || fail "no StartupNotify=true" # launchers' tokens
    mkdir -p "$scratch/mime/packages" && cp "$(dirname "$0")/../../packaging/$id.mime.xml" "$scratch/mime/packages/"
    update-mime-database "$scratch/mime" && grep -q 'application/x-quillmark-address' "$scratch/mime/globs2" || fail "no .qmf type"
    bash -n "$(dirname "$0")/../../packaging/quillmark.bash-completion" || fail "completion" ;;
metainfo_validate) # AppStream before 1.0 does not know <developer>: there only warnings and errors fail.
    need appstreamcli
    [[ $(appstreamcli --version) == *" 0."* ]] || strict=--strict
    appstreamcli validate --no-net ${strict:-} --explain "$data/$id.metainfo.xml" ;;
install_layout) # as root, too, the system's own settings folder is left alone
    need file
    DESTDIR=$scratch/root cmake --install "$build" --prefix /usr | tee "$scratch/log"
    grep -q "not created: DESTDIR is set" "$scratch/log" || fail "the shared folder was not skipped"
    installed "$scratch/root" ;;
deb_package)
    need dpkg-deb cpack file lintian
    (cd "$build" && cpack -G DEB -B "$scratch/out") >"$scratch/log" 2>&1 || { cat "$scratch/log"; exit 1; }
    deb=$scratch/out/quillmark_${version}_$(dpkg --print-architecture).deb
    dpkg-deb -x "$deb" "$scratch/root"
    installed "$scratch/root"
    for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6network6 libcups2 fonts-liberation2; do
        grep -Eq "(^|, )$package( |,|$)" <<<"$(dpkg-deb -f "$deb" Depends)" || fail "Depends lacks $package"
    done
    [ "$(dpkg-deb -f "$deb" Recommends)" = qt6-wayland ] || fail "Recommends is not qt6-wayland"
    # In a root of its own the postinst makes the shared folder 777 but leaves one that is there.
    system=$scratch/system
    mkdir -p "$system"/var/lib/dpkg/{info,updates} && touch "$system/var/lib/dpkg/status"
    dpkg_here() { dpkg --root="$system" --force-script-chrootless --force-depends --force-not-root \
        "$@" >>"$scratch/log" 2>&1 || { cat "$scratch/log"; fail "dpkg $*"; }; }
    dpkg_here -i "$deb"
    [ "$(stat -c %a "$system/var/lib/Quillmark")" = 777 ] || fail "installing did not make it 777"
    chmod 755 "$system/var/lib/Quillmark" && dpkg_here -i "$deb" && dpkg_here -r quillmark
    [ "$(stat -c %a "$system/var/lib/Quillmark")" = 755 ] || fail "reinstalling or removing changed it"
    lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail lintian ;;
esac
exit $failed
