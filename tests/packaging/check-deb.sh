#!/usr/bin/env bash
# Builds the Debian package with cpack, unpacks it into a scratch root and
# checks its files, its Depends, its postinst and what lintian says of it.
# check-deb.sh <build dir> <app id> "<icon sizes>" <version>
set -euo pipefail
build="$1" id="$2" sizes="$3" version="$4"
source "$(dirname "$0")/expected-files.sh"

for tool in dpkg-deb cpack file lintian; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIP: $tool is not installed, so the .deb cannot be built or checked"
        exit 77
    fi
done

scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
(cd "$build" && cpack -G DEB -B "$scratch/out") >"$scratch/cpack.log" 2>&1 || {
    cat "$scratch/cpack.log"; exit 1; }

arch="$(dpkg --print-architecture)"
deb="$scratch/out/quillmark_${version}_${arch}.deb"
if [ ! -f "$deb" ]; then
    echo "FAIL: no package named $(basename "$deb"); cpack made:"
    ls "$scratch/out"
    exit 1
fi

failures=0
fail() { echo "FAIL: $*"; failures=1; }

root="$scratch/root"
dpkg-deb -x "$deb" "$root"
expect_installed "$root" "$id" "$sizes" || failures=1
[ -e "$root/var/lib/Quillmark" ] && fail "the package ships the shared settings folder itself"
extra="$(cd "$root" && find . -type f | grep -v -e '^./usr/bin/quillmark$' \
    -e '^./usr/share/applications/' -e '^./usr/share/metainfo/' -e '^./usr/share/icons/hicolor/' \
    -e '^./usr/share/doc/quillmark/' -e '^./usr/share/man/man1/' || true)"
[ -z "$extra" ] || fail "unexpected files in the package: $extra"

[ "$(dpkg-deb -f "$deb" Package)" = quillmark ] || fail "package name"
[ "$(dpkg-deb -f "$deb" Version)" = "$version" ] || fail "version $(dpkg-deb -f "$deb" Version)"
depends="$(dpkg-deb -f "$deb" Depends)"
echo "Depends: $depends"
for package in libqt6core6 libqt6gui6 libqt6widgets6 libqt6printsupport6 libqt6network6 fonts-liberation2; do
    grep -Eq "(^|, )$package( |,|$)" <<<"$depends" || fail "Depends lacks $package"
done

# dpkg installs the package into a scratch root of its own; the postinst
# creates the shared folder there open to every user, and on a reinstall
# leaves the folder as it finds it.
system="$scratch/system"
mkdir -p "$system/var/lib/dpkg/info" "$system/var/lib/dpkg/updates"
touch "$system/var/lib/dpkg/status"
dpkg_here() {
    dpkg --root="$system" --force-script-chrootless --force-depends --force-not-root "$@" \
        >>"$scratch/dpkg.log" 2>&1 || { cat "$scratch/dpkg.log"; fail "dpkg $*"; }
}
dpkg_here -i "$deb"
mode="$(stat -c %a "$system/var/lib/Quillmark" 2>/dev/null || echo missing)"
[ "$mode" = 777 ] || fail "installing made /var/lib/Quillmark with mode $mode, not 777"
[ -x "$system/usr/bin/quillmark" ] || fail "dpkg did not install usr/bin/quillmark"
chmod 0755 "$system/var/lib/Quillmark"
dpkg_here -i "$deb"
[ "$(stat -c %a "$system/var/lib/Quillmark")" = 755 ] || fail "reinstalling changed the folder"
dpkg_here -r quillmark
[ -e "$system/usr/bin/quillmark" ] && fail "removing left usr/bin/quillmark"
[ -d "$system/var/lib/Quillmark" ] || fail "removing deleted the users' settings"

# Debian's own checks: nothing above a note.
lintian --fail-on error,warning --tag-display-limit 0 "$deb" || fail "lintian"

[ $failures -eq 0 ] || exit 1
echo "PASS: $(basename "$deb") holds $(cd "$root" && find . -type f | wc -l) files"
