#!/usr/bin/env bash
# Installs the Debian packages named in the given list files that are not installed yet.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
pkgs=()
for list in "$@"; do
  while read -r -a words; do
    for p in "${words[@]}"; do
      [[ -z "$p" || "$p" == \#* ]] && continue
      if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        pkgs+=("$p")
      fi
    done
  done < "$here/$list"
done
[ ${#pkgs[@]} -eq 0 ] && exit 0
echo "Installing: ${pkgs[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${pkgs[@]}"
