# make          build Kestrum.exe into build/bin (and the test build)
# make run      start Kestrum under Wine (no display: a screenshot in build/kestrum.png)
# make test     check the layers, then build and run every test
# make screenshot [CFG=file] [KEYS="key F1;type abc"]   PNG of the shell window
# make dist     build/Kestrum-<version>.zip: the release archive
# make fuzz     [FUZZ_RUNS=n] the fuzz targets, n inputs each (default 10^6)
# make longrun [STEPS=10000] [SEED=1]   the program driven by random steps
SHELL := /bin/sh
MAKEFLAGS += --no-print-directory
JOBS ?= $(shell nproc)
ARCH = $(shell tools/wine-arch.sh)
# Where the Wine tests run: the program's own build on 32-bit capable
# machines, an x86_64 build of the same sources elsewhere.
TESTDIR = $(if $(filter win32,$(ARCH)),build,build/x64)
# Inputs per fuzz target: make fuzz, and the short pass of make test.
FUZZ_RUNS ?= 1000000
FUZZ_SHORT_RUNS ?= 4000

.PHONY: all setup check-layers configure build native run test screenshot dist fuzz longrun clean

all: build

setup:
	@sh tools/setup.sh

configure: setup
	@mkdir -p build
	@cmake -S . -B build -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake \
	  -DKESTRUM_TESTS=$(if $(filter win32,$(ARCH)),ON,OFF) >build/configure.log 2>&1 \
	  || { cat build/configure.log; exit 1; }

build: configure
	@cmake --build build -j $(JOBS)
	@if [ "$(ARCH)" = win64 ]; then \
	  cmake -S . -B build/x64 -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >build/x64-configure.log 2>&1 \
	    || { cat build/x64-configure.log; exit 1; }; \
	  cmake --build build/x64 -j $(JOBS); \
	fi

native: setup
	@mkdir -p build
	@cmake -S . -B build/native -DKESTRUM_NATIVE=ON >build/native-configure.log 2>&1 \
	  || { cat build/native-configure.log; exit 1; }
	@cmake --build build/native -j $(JOBS)

run: build
	@sh tools/run.sh $(ARCH)

screenshot: build
	@sh tools/screenshot.sh --arch $(ARCH) $(if $(CFG),--cfg "$(CFG)") $(if $(KEYS),--keys "$(KEYS)") --out build/screenshot.png

# The folders include one another only downwards (docs/architecture.md).
check-layers:
	@sh tools/check-layers-test.sh
	@sh tools/check-layers.sh

test: check-layers build native
	@echo "== native core tests (AddressSanitizer, UndefinedBehaviorSanitizer) =="
	@cd build/native && ctest --output-on-failure
	@echo "== Windows tests under Wine ($(ARCH)) =="
	@cd $(TESTDIR) && ctest --output-on-failure
	@echo "== fuzz targets, a short pass =="
	@sh fuzz/run.sh --runs $(FUZZ_SHORT_RUNS) --seed 1 --jobs $(JOBS)

# The fuzz targets over the pure cores (fuzz/run.sh); fails on any finding.
fuzz: setup
	@sh fuzz/run.sh --runs $(FUZZ_RUNS) --jobs $(JOBS)

# The release archive: the 32-bit program, whatever libraries the build
# makes beside it, and the default files.
dist: build
	@sh tools/dist.sh build

# Random shell commands and filer keys over a scratch tree, from a seed
# (tools/kdrive/longrun_main.cpp); about 0.5 s a step. It runs in a Wine
# prefix of its own: in the tests' prefix its windows and message boxes
# would meet theirs, and the tests' own would fail.
STEPS ?= 10000
SEED ?= 1
longrun: build
	@KESTRUM_WINE_DIR=$(TESTDIR)/wine-longrun sh tools/wine-run.sh --arch=$(ARCH) --timeout=36000 $(TESTDIR)/bin/longrun.exe --steps $(STEPS) --seed $(SEED)

clean:
	rm -rf build
