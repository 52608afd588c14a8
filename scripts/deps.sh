#!/usr/bin/env bash
# Installs the Debian packages the build needs, when any is missing.
set -euo pipefail
packages=(build-essential cmake pkg-config libsqlite3-dev libgtest-dev libgmock-dev googletest
          libbenchmark-dev libcli11-dev libfmt-dev libxlsxwriter-dev libncurses-dev tmux unzip
          postgresql libpq-dev libcpp-httplib-dev nlohmann-json3-dev chromium)
# The web page is bundled with node and npm; a newer node installed otherwise is used as it is.
command -v node >/dev/null && command -v npm >/dev/null || packages+=(nodejs npm)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}" >&2
  sudo=""; [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -q
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q "${missing[@]}"
fi
