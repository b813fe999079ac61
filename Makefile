# Set-up and everyday commands. Each target installs missing packages first, then builds.
BUILD := build/release
JOBS ?= $(shell nproc)

.PHONY: all deps build run test bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake --preset release -DQUORIX_WERROR=$(if $(CI),ON,OFF)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD) -j $(JOBS)

# Starts the program with the bundled sample files as the current folder.
run: build
	cd examples && ../$(BUILD)/quorix

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

bench: build
	$(BUILD)/bench/quorix_bench --benchmark_counters_tabular=true

clean:
	rm -rf build
