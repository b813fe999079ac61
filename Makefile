# Set-up and everyday commands. Each target installs missing packages first, then builds.
BUILD := build/release
JOBS ?= $(shell nproc)

.PHONY: all deps build run demo test bench clean

all: build

deps:
	@scripts/install-deps

$(BUILD)/build.ninja: | deps
	cmake --preset release -DQUORIX_WERROR=$(if $(CI),ON,OFF)

build: deps $(BUILD)/build.ninja
	cmake --build --preset release -j $(JOBS)

# Starts the program with the bundled sample files as the current folder.
run: build
	cd examples && ../$(BUILD)/quorix

# The command-line search on a bundled sample: the best period and the deepest competing dips.
demo: deps $(BUILD)/build.ninja
	cmake --build --preset release -j $(JOBS) --target quorix-search
	$(BUILD)/cli/quorix-search examples/algol_type_reduced.csv --min 0.5 --max 1 --steps 100000 --top 5

test: build
	ctest --preset release -j $(JOBS)

bench: build
	$(BUILD)/bench/quorix_bench --benchmark_counters_tabular=true

clean:
	rm -rf build
