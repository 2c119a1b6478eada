# The two everyday commands; both install what is missing first.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
JOBS ?= 2

.PHONY: run test build deps configure bench clean

run: build
	@scripts/run-main-job.sh $(BUILD_DIR)

test: build
	ctest --test-dir $(BUILD_DIR) --output-on-failure -j $(JOBS)

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
