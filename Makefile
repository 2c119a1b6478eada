# The two everyday commands; both install what is missing first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= 2

.PHONY: run test test-linux test-asan test-windows test-windows-gui-if-built build programs deps \
    configure bench clean format check-format tidy check-layers

run: programs
	@scripts/run-main-job.sh $(BUILD_DIR)

test: test-linux test-windows test-windows-gui-if-built

test-linux: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The COM backend and the Windows registry, built with mingw-w64 and tested under
# Wine against our fake of ACT!'s automation server; then every Qt source of the
# Windows build parsed by the Windows compiler.
test-windows:
	JOBS=$(JOBS) scripts/test-windows.sh build/windows

# The real Windows programs need Qt cross-built for Windows, which takes an hour:
# scripts/build-qt-windows.sh makes it once, into QT_WINDOWS.
QT_WINDOWS ?= $(or $(ORDALIS_QT_WINDOWS),$(HOME)/.cache/ordalis/qt6-mingw-6.4.2)
export ORDALIS_QT_WINDOWS := $(QT_WINDOWS)

.PHONY: windows-package windows-setup test-windows-gui
# build/windows-package/Ordalis-<version>-win64.zip
windows-package:
	JOBS=$(JOBS) scripts/package-windows.sh

# build/windows-package/Ordalis-Setup-<version>.exe, from the zip's files (NSIS).
windows-setup:
	JOBS=$(JOBS) scripts/windows-setup.sh

# The package under Wine: Ordalis, Tastor and ordalis-cli against the fake ACT! server.
test-windows-gui: build
	JOBS=$(JOBS) scripts/test-windows-gui.sh

# The setup under Wine: silent installation with and without ACT!, the installed
# program, an update and the silent uninstallation, against the fake ACT! server.
.PHONY: test-windows-setup
test-windows-setup: build
	JOBS=$(JOBS) scripts/test-windows-setup.sh

test-windows-gui-if-built:
	@if test -f "$(QT_WINDOWS)/.ordalis-complete"; then $(MAKE) test-windows-gui test-windows-setup; \
	else echo "test-windows-gui and test-windows-setup skipped: no Qt for Windows in $(QT_WINDOWS) (scripts/build-qt-windows.sh)"; fi

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Leaks of the platform's libraries are suppressed in .ci/lsan-suppressions.txt;
# the options hold for the build too, which runs the tests to list them.
test-asan:
	ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan-suppressions.txt:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	$(MAKE) test-linux PRESET=asan

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

# Only what `make run` starts and what it links; `make test` builds the rest.
programs: configure
	cmake --build $(BUILD_DIR) -j $(JOBS) --target ordalis ordalis-cli act-standin

configure: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake --preset $(PRESET)

deps:
	@scripts/install-deps.sh

# The Debian package, in $(BUILD_DIR): apt-get install ./$(BUILD_DIR)/ordalis_*.deb
# Debian's own checker must accept it: any error or warning fails.
.PHONY: package
package: build
	cd $(BUILD_DIR) && cpack -G DEB
	lintian --fail-on error,warning --tag-display-limit 0 "$$(ls -t $(BUILD_DIR)/ordalis_*.deb | head -1)"

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf build

# Style: `make format` fixes every tracked C++ source; CI runs check-format.
CXX_SOURCES = git ls-files '*.cpp' '*.h' '*.cpp.in'

format: deps
	$(CXX_SOURCES) | xargs clang-format -i

check-format: deps
	$(CXX_SOURCES) | xargs clang-format --dry-run -Werror

# No include runs back up a layer, and no widget below the programs.
check-layers:
	scripts/check-layers.py

# clang-tidy (.clang-tidy) over the product sources; the build first, for the
# generated sources the compiler needs to see.
tidy: build
	JOBS=$(JOBS) scripts/run-tidy.sh $(BUILD_DIR)
