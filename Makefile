# The two commands: `make run` starts Orvex, `make test` runs every test.
SHELL := /bin/bash
.DEFAULT_GOAL := run
EXAMPLE ?= examples/prestamo-cuota.ORV

FUZZ_TIME ?= 60

.PHONY: deps configure build run test fuzz bench package clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	@cmake --preset dev >/dev/null

build: configure
	@cmake --build --preset dev

run: build
	@if [ -x build/dev/src/app/orvex ] && { [ -n "$$DISPLAY" ] || [ -n "$$WAYLAND_DISPLAY" ]; }; then \
	  exec build/dev/src/app/orvex; \
	else \
	  if [ -x build/dev/src/app/orvex ]; then \
	    echo "No hay pantalla (DISPLAY vacío): Orvex no puede abrir su ventana; así calcula $(EXAMPLE):"; \
	  else \
	    echo "Orvex calcula $(EXAMPLE) con orvex-cli:"; \
	  fi; \
	  build/dev/src/cli/orvex-cli calc $(EXAMPLE); \
	fi

test: build
	@bash scripts/check-format.sh
	@ctest --preset dev
	@cmake --preset asan >/dev/null
	@cmake --build --preset asan
	@ctest --preset asan
	@bash scripts/fuzz.sh --smoke

# Each file reader under libFuzzer for FUZZ_TIME seconds (make fuzz FUZZ_TIME=600).
fuzz: deps
	@bash scripts/fuzz.sh --time $(FUZZ_TIME)

bench:
	@bash scripts/install-deps.sh --bench
	@cmake --preset release >/dev/null
	@cmake --build --preset release
	@for b in build/release/bench/*_bench; do echo "== $$b"; "$$b" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true; done

# The Debian package for users: an optimised, stripped build; only the installed
# programs and their documents are built, not the tests.
package: deps
	@cmake --preset release >/dev/null
	@cmake --build --preset release --target orvex orvex-cli orvex-kit orvex_man_pages orvex_screenshot
	@cd build/release && cpack -B $(CURDIR)/build/package
	@ls -l build/package/*.deb

clean:
	rm -rf build
