#!/usr/bin/env bash
# Races pictel against feh, side by side on one private Xvfb: the time from
# starting each viewer until its window shows the finished picture (polled
# by bench/viewer_watch from a second client), with its peak memory, for a
# 640x480 JPEG, a 4000x3000 JPEG and that picture as a 24-bit BMP; and
# djpeg's time to decode each JPEG to nowhere.  Medians of RUNS starts
# (default 9), peak memory the largest seen.
#   BUILD_DIR   build folder (default build)
set -euo pipefail
cd "$(dirname "$0")/.."

if [ -z "${TSL_RACE_SERVER:-}" ]; then
  # feh is the peer viewer raced against, not part of the product: it is
  # installed here only.
  if ! command -v feh >/dev/null; then
    SUDO=""
    [ "$(id -u)" -eq 0 ] || SUDO=sudo
    $SUDO apt-get install -y -qq feh >/dev/null
  fi
  exec env TSL_RACE_SERVER=1 scripts/with-xvfb "$0" "$@"
fi

build=${BUILD_DIR:-build}
runs=${RUNS:-9}
cmake --build "$build" --target pictel viewer_watch -j2 >/dev/null
watch=$build/bench/viewer_watch
pictel=$build/viewer/pictel

tmp=$(mktemp -d /tmp/viewer_race.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
export HOME=$tmp/home
mkdir -p "$HOME"

"$watch" picture 640 480 "$tmp/small.ppm"
"$watch" picture 4000 3000 "$tmp/big.ppm"
cjpeg -quality 90 -outfile "$tmp/small.jpg" "$tmp/small.ppm"
cjpeg -quality 90 -outfile "$tmp/big.jpg" "$tmp/big.ppm"
djpeg -bmp -outfile "$tmp/big.bmp" "$tmp/big.jpg"

# One start of a command: "milliseconds KiB", or "- 0" when it never
# showed the picture.
once() {
  local out
  out=$("$watch" "$@" 2>/dev/null) && echo "$out" || echo "- 0"
}

# Median of the first fields of the lines on stdin ("-" when any is "-"),
# and the largest second field in MiB.
summary() {
  sort -g | awk '{ ms[NR] = $1; if ($1 == "-") bad = 1; if ($2 > peak) peak = $2 }
    END { if (bad) print "- -"; else printf "%s %.1f\n", ms[int((NR + 1) / 2)], peak / 1024 }'
}

# One start of each first, so that caches and ~/.tslrc are warm for all.
once race -- "$pictel" "$tmp/small.jpg" >/dev/null
once race -- feh "$tmp/small.jpg" >/dev/null

printf '%-22s %16s %16s %12s\n' picture "pictel ms (MiB)" "feh ms (MiB)" "djpeg ms"
for pic in small.jpg big.jpg big.bmp; do
  # The programs take turns, so that a busy moment of the machine falls on
  # all of them alike.
  rm -f "$tmp/pictel.txt" "$tmp/feh.txt" "$tmp/djpeg.txt"
  for _ in $(seq "$runs"); do
    once race -- "$pictel" "$tmp/$pic" >>"$tmp/pictel.txt"
    once race -- feh "$tmp/$pic" >>"$tmp/feh.txt"
    case $pic in *.jpg) once time -- djpeg -outfile /dev/null "$tmp/$pic" >>"$tmp/djpeg.txt" ;; esac
  done
  read -r pm pk <<<"$(summary <"$tmp/pictel.txt")"
  read -r fm fk <<<"$(summary <"$tmp/feh.txt")"
  dm=-
  case $pic in *.jpg) read -r dm _ <<<"$(summary <"$tmp/djpeg.txt")" ;; esac
  case $pic in
    small.jpg) name="640x480 JPEG" ;;
    big.jpg) name="4000x3000 JPEG" ;;
    *) name="4000x3000 BMP 24-bit" ;;
  esac
  printf '%-22s %16s %16s %12s\n' "$name" "$pm ($pk)" "$fm ($fk)" "$dm"
done
