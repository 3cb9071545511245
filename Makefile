# Top-level driver: `make` builds, `make test` runs every test (plain build,
# the Python binding against the plain build's library, ASan + UBSan build,
# ThreadSanitizer tests, a short libFuzzer run of every fuzz target, and
# headless Chromium through the demo gallery and the web app example) and
# ends with one "N passed, N failed" line over them all,
# `make demo` builds the library and the examples alone (build-demo/) and
# renders the demo gallery into build/demo/, `make webapp` serves the web app
# example on 127.0.0.1:$(PORT), `make bench` runs the benchmarks,
# `make install PREFIX=/opt/quorvane` installs the libraries, headers,
# pkg-config file and CMake package of build/ (DESTDIR stages them elsewhere).
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_TYPE ?= RelWithDebInfo
FUZZ_SECONDS ?= 20
PORT ?= 8000
PREFIX ?= /usr/local
export JOBS FUZZ_SECONDS
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test test-plain test-python test-asan test-tsan test-fuzz test-browser demo webapp bench install clean

all: build

deps:
	@bash scripts/install-deps.sh

build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=ON
	cmake --build build -j $(JOBS)

test-plain: build
	ctest --test-dir build --output-on-failure -j $(JOBS)

# The Python binding's unittest suite, loading build/libquorvane20.so.
test-python: build
	QUORVANE_LIBRARY=$(CURDIR)/build/libquorvane20.so python3 -m unittest discover -s bindings/python/tests -v

test-asan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_TESTS=ON -DQUORVANE_SANITIZE=address
	cmake --build build-asan -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		ctest --test-dir build-asan --output-on-failure -j $(JOBS)

# Tests labelled "tsan" (concurrency tests) under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=ON -DQUORVANE_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
		ctest --test-dir build-tsan --output-on-failure -L tsan --no-tests=ignore

# Every libFuzzer target runs for FUZZ_SECONDS from its seed corpus.
test-fuzz: deps
	CXX=clang++ CC=clang cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=OFF -DQUORVANE_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	bash scripts/run-fuzzers.sh build-fuzz/tests/fuzz $(FUZZ_SECONDS)

# The demo gallery and the web app example in headless Chromium, over
# 127.0.0.1 only; the demo is rendered first, its library serves the web app.
test-browser: deps
	@bash scripts/demo.sh
	QUORVANE_LIBRARY=$(CURDIR)/build-demo/libquorvane20.so node tests/browser/run.mjs build/demo examples/webapp/app.py

# Every stage runs even when an earlier one failed; the summary line is last.
test:
	@MAKE="$(MAKE)" bash scripts/run-tests.sh test-plain test-python test-asan test-tsan test-fuzz test-browser

demo:
	@bash scripts/demo.sh

webapp: demo
	QUORVANE_LIBRARY=$(CURDIR)/build-demo/libquorvane20.so python3 examples/webapp/app.py --port $(PORT)

bench: build
	for program in build/bench/*_bench; do "$$program" || exit 1; done

install: build
	DESTDIR="$(DESTDIR)" cmake --install build --prefix "$(PREFIX)"

clean:
	rm -rf build build-demo build-asan build-tsan build-fuzz
