#!/usr/bin/env bash
# The service's image: built by scripts/image with podman from the native build's chenggu,
# FROM scratch with the entry point serve; its file system exported (podman run is refused
# here: the OCI runtime may not set rlimits) and the image's own binary started and asked
# for a reading. Skipped (77) where podman is missing or cannot build at all.
#   tests/container_test.sh PROJECT_ROOT CHENGGU
set -euo pipefail
root=$1
binary=$2
command -v podman >/dev/null || { echo "podman is not installed: skipped"; exit 77; }
probe=$(mktemp -d)
trap 'rm -rf "$probe"' EXIT
printf 'FROM scratch\n' >"$probe/Containerfile"
podman build --quiet --tag chenggu-probe "$probe" >/dev/null 2>&1 ||
    { echo "podman cannot build images here: skipped"; exit 77; }
podman rmi chenggu-probe >/dev/null 2>&1 || true

tag=chenggu-test:latest
"$root/scripts/image" --binary "$binary" "$tag" >/dev/null
container=$(podman create "$tag")
trap 'podman rm "$container" >/dev/null 2>&1 || true; podman rmi "$tag" >/dev/null 2>&1 || true; rm -rf "$probe"' EXIT

entrypoint=$(podman image inspect "$tag" --format '{{json .Config.Entrypoint}}')
[ "$entrypoint" = '["/chenggu","serve","--host","0.0.0.0"]' ] || { echo "entry point $entrypoint"; exit 1; }
files=$(podman export "$container" | tar -t | grep -v '/$' | sort | tr '\n' ' ')
[ "$files" = "chenggu " ] || { echo "the image holds more than chenggu: $files"; exit 1; }
podman export "$container" | tar -x -C "$probe" chenggu

"$probe/chenggu" serve --port 0 --quiet 2>"$probe/log" &
server=$!
trap 'kill $server 2>/dev/null || true; podman rm "$container" >/dev/null 2>&1 || true; podman rmi "$tag" >/dev/null 2>&1 || true; rm -rf "$probe"' EXIT
for _ in $(seq 50); do
    port=$(grep -o '127.0.0.1:[0-9]*' "$probe/log" | cut -d: -f2 || true)
    [ -n "$port" ] && break
    sleep 0.1
done
answer=$(curl -sf "http://127.0.0.1:$port/v1/reading?date=1990-01-30&period=%E5%AD%90")
case $answer in
    *'"totalWeight":46'*) echo "the image's chenggu answered: total 46" ;;
    *) echo "unexpected answer: $answer"; exit 1 ;;
esac
kill -TERM $server
status=0
wait $server || status=$?
[ $status -eq 0 ] || { echo "SIGTERM ended it with status $status"; exit 1; }
