# Top-level driver: `make` builds, `make test` runs every test (plain build,
# the Python binding against the plain build's library, ASan + UBSan build
# with the Python binding's tests over its library,
# the extreme-argument sweeps under recovering UBSan, ThreadSanitizer tests,
# a short libFuzzer run of every fuzz target, headless Chromium through the
# demo gallery, the web app example and the Flask dashboard under gunicorn,
# the Debian packages of `make deb` checked and used unpacked, and valgrind's
# memcheck over a small chart set) and ends with one "N passed, N failed"
# line over them all,
# `make demo` builds the library and the examples alone (build-demo/) and
# renders the demo gallery into build/demo/, `make webapp` serves the web app
# example on 127.0.0.1:$(PORT), `make flask` the Flask dashboard there under
# gunicorn (2 workers of 4 threads), `make bench` runs the benchmarks,
# `make install PREFIX=/opt/quorvane` builds the libraries alone in Release
# (build-install/) and installs them stripped with the headers, pkg-config
# file, CMake package, Python package and documentation (DESTDIR stages them
# elsewhere); `make uninstall` with the same PREFIX takes them away again;
# `make deb` makes Debian packages of the same files for the prefix /usr.
# Outside `make test`: `make soak` renders thousands of charts through C++,
# runMethod and the Python binding and fails when resident memory keeps
# growing.
JOBS ?= $(shell nproc 2>/dev/null || echo 2)
BUILD_TYPE ?= RelWithDebInfo
FUZZ_SECONDS ?= 20
SOAK_CHARTS ?= 10000
SOAK_SCRIPTED ?= 2000
SOAK_PYTHON ?= 2000
SOAK_MAX_GROWTH_MB ?= 4
PORT ?= 8000
# Debian's Flask and gunicorn are installed for Debian's Python.
FLASK_PYTHON ?= /usr/bin/python3
PREFIX ?= /usr/local
export JOBS FUZZ_SECONDS
MAKEFLAGS += --no-print-directory

.PHONY: all deps build test test-plain test-python test-asan test-ubsan test-tsan test-fuzz test-browser demo webapp flask bench soak soak-build valgrind install uninstall deb test-deb clean

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
	# The Python binding's tests over this build's library, the sanitizer
	# runtimes loaded first into the uninstrumented interpreter (whose own
	# allocations are not leak-checked).
	LD_PRELOAD="$$(gcc -print-file-name=libasan.so) $$(gcc -print-file-name=libubsan.so)" \
		ASAN_OPTIONS=detect_leaks=0:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
		QUORVANE_LIBRARY=$(CURDIR)/build-asan/libquorvane20.so \
		python3 -m unittest discover -s bindings/python/tests -v

# The extreme-argument sweeps and the fuzz seed corpora once more on the
# ASan + UBSan build, its UB checks going on past a report: any report fails
# (scripts/run-ub-sweeps.sh), and the log lists every site at once.
test-ubsan: deps
	cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DQUORVANE_TESTS=ON -DQUORVANE_SANITIZE=address
	cmake --build build-asan -j $(JOBS) --target quorvane_tests replays
	bash scripts/run-ub-sweeps.sh build-asan

# Tests labelled "tsan" (concurrency tests) under ThreadSanitizer.
test-tsan: deps
	cmake -S . -B build-tsan -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=ON -DQUORVANE_SANITIZE=thread
	cmake --build build-tsan -j $(JOBS)
	TSAN_OPTIONS=halt_on_error=1:second_deadlock_stack=1 \
		ctest --test-dir build-tsan --output-on-failure -L tsan --no-tests=ignore

# Every libFuzzer target runs for FUZZ_SECONDS from its seed corpus; a UB
# report stops it like a crash (clang's UB checks would otherwise go on).
test-fuzz: deps
	CXX=clang++ CC=clang cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORVANE_TESTS=OFF -DQUORVANE_FUZZ=ON
	cmake --build build-fuzz -j $(JOBS) --target fuzzers
	UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 bash scripts/run-fuzzers.sh build-fuzz/tests/fuzz $(FUZZ_SECONDS)

# The demo gallery, the web app example and the Flask dashboard (under
# gunicorn, 2 workers of 4 threads) in headless Chromium, over 127.0.0.1
# only; the demo is rendered first (and checked against the test build's
# examples), its library serves the web app and the dashboard.
test-browser: build
	@bash scripts/demo.sh
	@bash scripts/compare-demo-builds.sh build/examples build/demo
	QUORVANE_LIBRARY=$(CURDIR)/build-demo/libquorvane20.so FLASK_PYTHON=$(FLASK_PYTHON) \
		node tests/browser/run.mjs build/demo examples/webapp/app.py examples/flask

# Every stage runs even when an earlier one failed; the summary line is last.
test:
	@MAKE="$(MAKE)" bash scripts/run-tests.sh test-plain test-python test-asan test-ubsan test-tsan test-fuzz test-browser test-deb valgrind

demo:
	@bash scripts/demo.sh

webapp: demo
	QUORVANE_LIBRARY=$(CURDIR)/build-demo/libquorvane20.so python3 examples/webapp/app.py --port $(PORT)

flask: demo
	@bash scripts/install-deps.sh flask
	PYTHONPATH=$(CURDIR)/bindings/python QUORVANE_LIBRARY=$(CURDIR)/build-demo/libquorvane20.so \
		$(FLASK_PYTHON) -m gunicorn -w 2 --threads 4 -b 127.0.0.1:$(PORT) \
		--pythonpath examples/flask dashboard:app

bench: build
	for program in build/bench/*_bench; do "$$program" || exit 1; done

# The soak program is built alone, with the plain build's settings.
soak-build: deps
	cmake -S . -B build -DCMAKE_BUILD_TYPE=$(BUILD_TYPE) -DQUORVANE_TESTS=ON -DQUORVANE_BENCH=ON
	cmake --build build -j $(JOBS) --target quorvane_soak quorvane20

soak: soak-build
	build/tests/soak/quorvane_soak --charts=$(SOAK_CHARTS) --scripted=$(SOAK_SCRIPTED) \
		--max-growth-mb=$(SOAK_MAX_GROWTH_MB)
	QUORVANE_LIBRARY=$(CURDIR)/build/libquorvane20.so python3 tests/soak/soak.py \
		--charts $(SOAK_PYTHON) --max-growth-mb $(SOAK_MAX_GROWTH_MB)

# Memcheck over a hundred charts of every kind and a few dozen through
# runMethod: any error or leak fails, still-reachable blocks included (see
# tests/soak/valgrind.supp). A stage of `make test`.
valgrind: soak-build
	valgrind --tool=memcheck --error-exitcode=1 --leak-check=full \
		--errors-for-leak-kinds=all --show-leak-kinds=all \
		--suppressions=tests/soak/valgrind.supp \
		build/tests/soak/quorvane_soak --charts=100 --scripted=24 --no-memory-check
	@echo "memcheck runs: 1 passed, 0 failed"

# Its own Release build of the libraries alone, compiled in groups like the
# demo build (see scripts/demo.sh): no tests, benchmarks or examples, so
# neither GoogleTest nor Google Benchmark is needed. Installed stripped.
LIBRARY_ONLY = -DCMAKE_BUILD_TYPE=Release -DQUORVANE_INSTALL=ON \
	-DQUORVANE_TESTS=OFF -DQUORVANE_BENCH=OFF -DQUORVANE_EXAMPLES=OFF -DQUORVANE_SANITIZE= -DQUORVANE_FUZZ=OFF \
	-DCMAKE_UNITY_BUILD=ON -DCMAKE_UNITY_BUILD_BATCH_SIZE=8 -DCMAKE_CXX_FLAGS=-Wno-subobject-linkage \
	--log-level=WARNING
install:
	cmake -S . -B build-install $(LIBRARY_ONLY) -DQUORVANE_DEB=OFF -DCMAKE_INSTALL_PREFIX="$(PREFIX)"
	cmake --build build-install -j $(JOBS) --target quorvane20 quorvane_static
	DESTDIR="$(DESTDIR)" bash scripts/install.sh install build-install "$(PREFIX)" --strip

# Removes what `make install` with the same PREFIX and DESTDIR put there.
uninstall:
	DESTDIR="$(DESTDIR)" bash scripts/install.sh uninstall build-install "$(PREFIX)"

# The same Release build for the prefix /usr (build-deb/), packaged by CPack as
# libquorvane20, libquorvane-dev and python3-quorvane in build-deb/packages/.
deb:
	cmake -S . -B build-deb $(LIBRARY_ONLY) -DQUORVANE_DEB=ON -DCMAKE_INSTALL_PREFIX=/usr \
		-DCMAKE_INSTALL_DOCDIR=share/doc/libquorvane-dev
	cmake --build build-deb -j $(JOBS) --target quorvane20 quorvane_static
	rm -rf build-deb/packages
	cd build-deb && cpack -B packages >/dev/null
	@ls -1 build-deb/packages/*.deb

# The packages' file lists and control fields, and the consumer program, the
# CMake package and the Python package used from their unpacked files.
test-deb: deb
	bash tests/packaging/check_packaging.sh deb build-deb/packages $(CXX) python3

clean:
	rm -rf build build-demo build-install build-deb build-asan build-tsan build-fuzz
