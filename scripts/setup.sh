#!/bin/sh
# Installs the Debian packages a fresh machine lacks (as root), or says
# which apt-get line to run.  Quiet when everything is there.
set -e
here=$(dirname "$0")
missing=""
for pkg in $(cat "$here/packages.txt"); do
  if ! dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed"; then
    missing="$missing $pkg"
  fi
done
[ -z "$missing" ] && exit 0
if [ "$(id -u)" = 0 ]; then
  echo "Installing:$missing"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq $missing
else
  echo "These packages are missing. Run as root:"
  echo "  apt-get install -y$missing"
  exit 1
fi
