#!/bin/bash
# orvex-kit imprimir --pdf needs no display: run it with none and read the PDF back.
set -euo pipefail
kit=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
printf '\003\016\002\003RESUMEN\r\n' > resumen.rpt
for i in $(seq 1 70); do printf 'fila %d\r\n' "$i" >> resumen.rpt; done
env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY DISPLAY= "$kit" imprimir resumen.rpt --pdf resumen.pdf
pdfinfo resumen.pdf | grep -Eq '^Pages: +2$'
pdftotext -layout resumen.pdf - | tr '\f' '\n' | sed 's/^ *//' | grep -e '^RESUMEN$' -e '^fila 70$' \
  | tr '\n' ' ' | grep -qx 'RESUMEN RESUMEN fila 70 '
