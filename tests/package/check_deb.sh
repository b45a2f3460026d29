#!/bin/sh
# Checks a built package without installing it on this machine: unpacks it
# into a temporary folder, runs qx7ctl from there, looks for every file where
# a desktop and man look for it, validates the desktop entry and the AppStream
# data, and runs lintian. A missing checker is named, and its check skipped.
# Usage: check_deb.sh PACKAGE.deb
set -eu
deb=$1
id=org.qx7.qx7
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "check_deb: $*" >&2
    exit 1
}
have() {
    command -v "$1" >/dev/null && return 0
    echo "check_deb: $1 is missing (Debian package $2, which scripts/setup installs): $3 not checked" >&2
    return 1
}

dpkg-deb -x "$deb" "$tmp/root"
root=$tmp/root
for f in usr/bin/qx7 usr/bin/qx7ctl usr/bin/qx7-console usr/bin/qx7-sim \
    usr/lib/udev/rules.d/70-qx7.rules \
    usr/share/applications/$id.desktop usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/scalable/apps/$id.svg usr/share/icons/hicolor/48x48/apps/$id.png \
    usr/share/icons/hicolor/256x256/apps/$id.png \
    usr/share/man/man1/qx7.1.gz usr/share/man/man1/qx7ctl.1.gz usr/share/man/man1/qx7-sim.1.gz \
    usr/share/bash-completion/completions/qx7 \
    usr/share/bash-completion/completions/qx7ctl usr/share/doc/qx7/copyright \
    usr/bin/qx7d usr/share/man/man1/qx7d.1.gz usr/share/bash-completion/completions/qx7d \
    usr/lib/systemd/user/qx7d.service; do
    [ -e "$root/$f" ] || fail "/$f is not in the package"
done
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "Depends lacks the Qt libraries"

"$root/usr/bin/qx7ctl" --help | grep -q "^Usage: qx7ctl" || fail "qx7ctl --help prints no usage"
XDG_CONFIG_HOME="$tmp/config" "$root/usr/bin/qx7ctl" --simulated --quiet info >"$tmp/info" ||
    fail "qx7ctl --simulated info failed"
grep -q "^Device magic: 22356" "$tmp/info" || fail "qx7ctl --simulated info found no device"

if have desktop-file-validate desktop-file-utils "the desktop entry"; then
    desktop-file-validate "$root/usr/share/applications/$id.desktop"
fi
if have appstreamcli appstream "the AppStream data"; then
    appstreamcli validate --no-net "$root/usr/share/metainfo/$id.metainfo.xml"
fi
if have lintian lintian "the package as a whole"; then
    lintian --fail-on error "$deb"
fi
echo "check_deb: $deb is fine"
