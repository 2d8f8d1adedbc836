# Thin wrapper over the CMake presets for everyday commands; `run.sh` and
# `test.sh` are the two that also work where make is not installed yet.
.PHONY: deps deps-ci build run test deb asan fuzz tidy bench bench-ticks bench-startup bench-idle install clean

PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
TICKS ?= 60
RUNS ?= 15

deps:
	./tools/install-deps test

deps-ci:
	./tools/install-deps ci

build: deps
	cmake --preset default
	cmake --build --preset default

run:
	./run.sh

test:
	./test.sh

# The Debian package, from the release build, in build/release.
deb:
	./tools/install-deps package
	cmake --preset release
	cmake --build --preset release
	cpack --preset deb

asan: deps-ci
	cmake --preset asan
	cmake --build --preset asan
	ctest --preset asan

# Runs the text-rule fuzzer on a scratch copy of the corpus kept in the tree.
fuzz: deps-ci
	cmake --preset fuzz
	cmake --build --preset fuzz
	scratch=$$(mktemp -d) && trap 'rm -rf "$$scratch"' EXIT && \
	    ./build/fuzz/tests/text_rules_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        "$$scratch" tests/fuzz_corpus

tidy: deps-ci build
	git ls-files 'src/*.cpp' 'tests/*.cpp' 'bench/*.cpp' 'data/*.cpp' | xargs -P 2 -n 4 clang-tidy -p build/default --quiet

# Ticks a second of the tick handler on the in-memory controls.
bench: build
	./build/default/bench/tick_benchmark

# The tick source against plain Qt timers, idle, loaded and stalled.
bench-ticks: build
	QT_QPA_PLATFORM=offscreen ./build/default/bench/tick_accuracy $(TICKS) bench/results/tick_accuracy

# Exec to first paint and peak memory against an empty Qt Widgets window.
bench-startup: build
	xvfb-run -a -s "-screen 0 640x480x24" ./build/default/bench/startup_benchmark \
	    build/default/src/app/timer build/default/bench/floor_window \
	    build/default/bench/libfirst_paint_probe.so $(RUNS)

# What wakes the program up, stopped and counting.
bench-idle: build
	xvfb-run -a -s "-screen 0 640x480x24" ./build/default/bench/idle_cost 20

install: build
	cmake --install build/default --prefix $(PREFIX)

clean:
	rm -rf build
