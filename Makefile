# Top-level driver: `make` builds, `make test` runs every test (plain and
# sanitizer builds), `make demo` renders the demo gallery, `make bench` runs
# the benchmarks.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_TYPE ?= RelWithDebInfo

.PHONY: all deps build test test-plain test-asan demo bench clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=ON
	cmake --build build -j $(JOBS)

test-plain: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_TESTS=ON -DQUORVANE_SANITIZE=ON
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir build-asan --output-on-failure -j $(JOBS)

test: test-plain test-asan

demo: build
	mkdir -p build/demo
	./build/examples/demo_gallery build/demo

bench: build
	./build/bench/quorvane_bench

clean:
	rm -rf build build-asan
