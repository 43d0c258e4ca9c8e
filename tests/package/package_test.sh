#!/bin/bash
# The Debian package of this build tree and what it installs.
#   package_test.sh build BUILD_DIR WORK     builds the package into WORK, unpacks it
#   package_test.sh CHECK WORK SOURCE_DIR CLI   one check of the unpacked package
#                                               (CLI: the build tree's orvex-cli)
# Outputs are captured before grep -q looks at them: with pipefail, a writer cut
# off by an early grep -q would fail the check.
set -euo pipefail

fail() { echo "FAIL: $*" >&2; exit 1; }

if [ "$1" = build ]; then
    build=$2 work=$3
    rm -rf "$work"
    mkdir -p "$work"
    # Packs what the tree holds now: no second build. gzip keeps the test quick;
    # make package uses xz.
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work" \
        -D CPACK_DEBIAN_COMPRESSION_TYPE=gzip >"$work/cpack.log" 2>&1 \
        || { cat "$work/cpack.log"; fail "cpack"; }
    shopt -s nullglob
    debs=("$work"/*.deb)
    [ ${#debs[@]} -eq 1 ] || fail "expected one .deb in $work, found ${#debs[@]}"
    dpkg -x "${debs[0]}" "$work/root"
    exit 0
fi

check=$1 work=$2 source=$3
deb=$(echo "$work"/*.deb)
root=$work/root
share=$root/usr/share
version=$(sed -n 's/^project(Orvex VERSION \([0-9.]*\).*/\1/p' "$source/CMakeLists.txt")
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

case $check in
contents)
    [ "$(basename "$deb")" = "orvex_${version}_amd64.deb" ] || fail "file name $(basename "$deb")"
    dpkg-deb -c "$deb" | awk '{print $6}' | sed 's|^\./|/|; s|/$||' >"$scratch/list"
    expected=(
        /usr/bin/orvex /usr/bin/orvex-cli /usr/bin/orvex-kit
        /usr/share/applications/orvex.desktop
        /usr/share/mime/packages/orvex.xml
        /usr/share/icons/hicolor/scalable/apps/orvex.svg
        /usr/share/man/man1/orvex.1.gz /usr/share/man/man1/orvex-cli.1.gz
        /usr/share/man/man1/orvex-kit.1.gz
        /usr/share/bash-completion/completions/orvex-cli
        /usr/share/bash-completion/completions/orvex-kit
        /usr/share/doc/orvex/talvora.png /usr/share/doc/orvex/README.md
    )
    for f in "$source"/examples/*; do expected+=("/usr/share/doc/orvex/examples/${f##*/}"); done
    for f in "${expected[@]}"; do
        grep -qxF "$f" "$scratch/list" || fail "missing from the package: $f"
    done
    grep -qx '/usr/share/metainfo/[^/]*\.metainfo\.xml' "$scratch/list" || fail "no metainfo"
    # The web viewer's module, loaded by orvex on first use, in a folder of its own.
    grep -qx '/usr/lib/\([^/]*/\)\?orvex/orvex_web\.so' "$scratch/list" || fail "no web viewer module"
    if grep -v -e '^/usr/bin' -e '^/usr/share' -e '^/usr/lib' -e '^/usr$' -e '^/$' "$scratch/list"; then
        fail "files outside /usr/bin, /usr/lib and /usr/share"
    fi
    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = orvex ] || fail "package $(field Package)"
    [ "$(field Version)" = "$version" ] || fail "version $(field Version)"
    [ "$(field Section)" = math ] || fail "section $(field Section)"
    depends=$(field Depends)
    for dep in libqt6widgets6 libqt6webenginewidgets6 libstdc++6 qt6-qpa-plugins; do
        grep -q "$dep" <<<"$depends" || fail "Depends lacks $dep: $depends"
    done
    description=$(field Description)
    grep -q 'financial mathematics' <<<"$description" || fail "no English description"
    grep -q 'cálculos financieros' <<<"$description" || fail "no Spanish description"
    kind=$(file -L "$root/usr/bin/orvex")
    grep -q ', stripped' <<<"$kind" || fail "orvex not stripped: $kind"
    ;;
programs)
    for p in orvex orvex-cli orvex-kit; do
        if ldd "$root/usr/bin/$p" | grep 'not found'; then fail "$p: missing libraries"; fi
        out=$(env -u QT_QPA_PLATFORM DISPLAY= "$root/usr/bin/$p" --version)
        [ "$out" = "$p $version" ] || fail "$p --version: $out"
    done
    for m in "$root"/usr/lib/orvex/orvex_web.so "$root"/usr/lib/*/orvex/orvex_web.so; do
        [ -e "$m" ] || continue
        if ldd "$m" | grep 'not found'; then fail "orvex_web.so: missing libraries"; fi
    done
    # The installed example gives the installed program the build tree's answer.
    example=$share/doc/orvex/examples/prestamo-cuota.ORV
    out=$("$root/usr/bin/orvex-cli" calc "$example")
    [ "$out" = "$("$4" calc "$source/examples/prestamo-cuota.ORV")" ] || fail "calc: $out"
    grep -q '^El valor A (Serie Uniforme ) es :' <<<"$out" || fail "calc: $out"
    # The installed program opens an installed worksheet and keeps running.
    cp "$share/doc/orvex/examples/prestamo-cuota.ORV" "$scratch/"
    status=0
    (cd "$scratch" && QT_QPA_PLATFORM=offscreen timeout 3 "$root/usr/bin/orvex" prestamo-cuota.ORV) \
        >"$scratch/orvex.log" 2>&1 || status=$?
    [ $status -eq 124 ] || { cat "$scratch/orvex.log"; fail "orvex ended with $status"; }
    ;;
desktop)
    desktop-file-validate "$share/applications/orvex.desktop"
    appstreamcli validate --no-net "$share"/metainfo/*.metainfo.xml
    # The menu entry opens the three file types.
    mkdir -p "$scratch/applications"
    cp "$share/applications/orvex.desktop" "$scratch/applications/"
    update-desktop-database "$scratch/applications"
    for type in worksheet loan variation-table; do
        grep -qx "application/x-orvex-$type=orvex.desktop;" "$scratch/applications/mimeinfo.cache" \
            || fail "orvex.desktop does not open application/x-orvex-$type"
    done
    ;;
mime)
    mkdir -p "$scratch/data/mime/packages" "$scratch/home" "$scratch/files"
    cp /usr/share/mime/packages/freedesktop.org.xml "$share/mime/packages/orvex.xml" \
        "$scratch/data/mime/packages/"
    PKGSYSTEM_ENABLE_FSYNC=0 update-mime-database "$scratch/data/mime" 2>/dev/null
    examples=$share/doc/orvex/examples
    cd "$scratch/files"
    cp "$examples/prestamo-cuota.ORV" .
    cp "$examples/prestamo-cuota.ORV" minusculas.orv
    cp "$examples/prestamo-cuota.ORV" sin-extension
    cp "$examples/vivienda-uvr.upa" "$examples/vivienda-uvr.cor" .
    printf 'Tasa de cambio\n' >apuntes
    expect() {
        local got
        got=$(XDG_DATA_HOME=$scratch/home XDG_DATA_DIRS=$scratch/data \
            gio info -a standard::content-type "$1" | sed -n 's/.*content-type: //p')
        [ "$got" = "$2" ] || fail "$1 is $got, expected $2"
    }
    expect prestamo-cuota.ORV application/x-orvex-worksheet
    expect minusculas.orv application/x-orvex-worksheet
    expect sin-extension application/x-orvex-worksheet
    expect vivienda-uvr.upa application/x-orvex-loan
    expect vivienda-uvr.cor application/x-orvex-variation-table
    expect apuntes text/plain
    ;;
manuals)
    for p in orvex orvex-cli orvex-kit; do
        page=$share/man/man1/$p.1.gz
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" 2>&1 >"$scratch/$p.txt")
        [ -z "$warnings" ] || fail "$p.1: $warnings"
        grep -q '^NOMBRE' "$scratch/$p.txt" || fail "$p.1 has no NOMBRE"
        grep -qF "Orvex $version" "$scratch/$p.txt" || fail "$p.1 does not give the version"
    done
    # Every command of --help, and of orvex-cli's table, is in its manual.
    cli_table=$(grep -oE '\{ "[a-z]+", orvex::cli::run' "$source/src/cli/main.cpp" | cut -d'"' -f2)
    [ -n "$cli_table" ] || fail "no commands found in src/cli/main.cpp"
    for p in orvex-cli orvex-kit; do
        help=$("$root/usr/bin/$p" --help)
        commands=$(sed -n '/^COMANDOS/,/^OPCIONES/p' "$scratch/$p.txt")
        names=$(sed -n 's/^  \([a-z][a-z0-9-]*\) .*/\1/p' <<<"$help" | sort -u)
        [ "$p" = orvex-kit ] || names=$(printf '%s\n%s\n' "$names" "$cli_table" | sort -u)
        for name in $names; do
            grep -q "^  $name " <<<"$help" || fail "$p --help lacks $name"
            grep -q "^       $name\b" <<<"$commands" || fail "$p.1 lacks the command $name"
        done
    done
    ;;
completion)
    export PATH=$root/usr/bin:$PATH LC_ALL=C
    cd "$scratch"
    mkdir carpeta
    touch a.ORV b.orv c.upa d.cor e.txt
    complete_line() { # the candidates bash offers for the words given, cursor after the last
        bash -c '
            source "$1"; shift
            COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
            _orvex_tools
            printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' \
            _ "$share/bash-completion/completions/${1}" "$@"
    }
    expect() {
        local got
        got=$(complete_line "${@:2}")
        [ "$got" = "$1" ] || fail "completion of '${*:2}': got '$got', expected '$1'"
    }
    expect "calc combined " orvex-cli c
    expect "--help --version " orvex-cli --
    expect "a.ORV b.orv carpeta " orvex-cli calc ""
    expect "c.upa carpeta " orvex-cli loan ""
    expect "--cor " orvex-cli loan c.upa --c
    expect "carpeta d.cor " orvex-cli loan c.upa --cor ""
    expect "export search show " orvex-cli table ""
    expect "pages text " orvex-cli report ""
    expect "--copias --desde --hasta --pdf " orvex-kit imprimir a.rpt --
    for p in orvex-cli orvex-kit; do
        all=$(complete_line $p "")
        help=$("$root/usr/bin/$p" --help)
        for name in $(sed -n 's/^  \([a-z]*\) .*/\1/p' <<<"$help"); do
            grep -qw -- "$name" <<<"$all" || fail "$p completion lacks $name"
        done
    done
    ;;
*)
    fail "unknown check $check"
    ;;
esac
