# The two everyday commands; both install what is missing first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= 2

.PHONY: run test test-asan build deps configure bench clean

run: build
	@scripts/run-main-job.sh $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

# The whole suite again, built with AddressSanitizer and UndefinedBehaviorSanitizer.
# Leaks of the platform's libraries are suppressed in .ci/lsan-suppressions.txt;
# the options hold for the build too, which runs the tests to list them.
test-asan:
	ASAN_OPTIONS=detect_leaks=1:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(CURDIR)/.ci/lsan-suppressions.txt:print_suppressions=0 \
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
	$(MAKE) test PRESET=asan

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

configure: deps
	@test -f $(BUILD_DIR)/build.ninja || cmake --preset $(PRESET)

deps:
	@scripts/install-deps.sh

# The Debian package, in $(BUILD_DIR): apt-get install ./$(BUILD_DIR)/ordalis_*.deb
.PHONY: package
package: build
	cd $(BUILD_DIR) && cpack -G DEB

bench: build
	@for b in $(BUILD_DIR)/bench/bench_*; do echo "== $$b"; $$b; done

clean:
	rm -rf build
