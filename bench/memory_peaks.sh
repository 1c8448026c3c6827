#!/usr/bin/env bash
# Peak memory (resident, from /usr/bin/time) and user time of renders that
# stress a build's memory: the default, the largest font, the widest padding,
# a 1000-frame build and two other effects. With two binaries (before and
# after a change) each case runs both, one after the other, so a shared
# machine disturbs both alike; user time is far steadier than wall time there.
# Usage: bench/memory_peaks.sh BINARY [BINARY2]
set -u
bins=("$@")
[ ${#bins[@]} -ge 1 ] || { echo "usage: memory_peaks.sh BINARY [BINARY2]" >&2; exit 2; }
out=$(mktemp -d /tmp/gw-peaks-XXXXXX)
trap 'rm -rf "$out"' EXIT
cases=("" "--size 400" "--pad 512" "--frames 1000" "--effect Rattle" "--effect Ring")
printf '%-16s' "case"
for b in "${bins[@]}"; do printf ' | %-22s' "$(basename "$b") MiB / user s"; done
echo
for c in "${cases[@]}"; do
  printf '%-16s' "${c:-default}"
  for b in "${bins[@]}"; do
    # shellcheck disable=SC2086
    /usr/bin/time -f '%M %U' -o "$out/t" "$b" render --quiet $c -o "$out/x.gif" >/dev/null 2>&1
    read -r kib user <"$out/t"
    printf ' | %8.1f MiB %6.2f s  ' "$(echo "$kib / 1024" | bc -l)" "$user"
  done
  echo
done
