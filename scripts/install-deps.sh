#!/usr/bin/env bash
# Installs the Debian packages the build and tests need, when missing.
set -euo pipefail
packages=(cmake g++ make libgtest-dev nlohmann-json3-dev)
# Optional groups: "bench" for the benchmark peers, "octave" for the Octave build and suite.
for group in "$@"; do
    case "$group" in
        bench) packages+=(libbenchmark-dev libboost-dev libeigen3-dev liblapack-dev python3) ;;
        octave) packages+=(octave liboctave-dev octave-statistics) ;;
    esac
done
missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
    if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
        echo "Installing: ${missing[*]}"
        apt-get update -qq
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    else
        echo "Missing packages (install them as root): ${missing[*]}" >&2
    fi
fi
