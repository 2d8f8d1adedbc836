# Thin wrapper over the CMake presets for everyday commands; `run.sh` and
# `test.sh` are the two that also work where make is not installed yet. Each
# target first installs the Debian packages it needs (tools/install-deps).
.PHONY: build run test install deb asan fuzz windows tidy plant-faults bench bench-ticks bench-startup bench-idle \
	clean

PREFIX ?= /usr/local
FUZZ_SECONDS ?= 60
TICKS ?= 60
RUNS ?= 20

# The release build, in build/release: what `run` runs and `install` installs.
build:
	./tools/install-deps build
	cmake --preset release
	cmake --build --preset release

run:
	./run.sh

test:
	./test.sh

install: build
	cmake --install build/release --prefix $(PREFIX)

# The Debian package, from the release build, in build/release.
deb:
	./tools/install-deps package
	cmake --preset release
	cmake --build --preset release
	cpack --preset deb

asan:
	$(call tested_preset,asan)

# Runs the text-rule fuzzer on a scratch copy of the corpus kept in the tree.
fuzz:
	./tools/install-deps fuzz
	cmake --preset fuzz
	cmake --build --preset fuzz
	scratch=$$(mktemp -d) && trap 'rm -rf "$$scratch"' EXIT && \
	    ./build/fuzz/tests/text_rules_fuzzer -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	        "$$scratch" tests/fuzz_corpus

# The count and its tests built for Windows with MinGW-w64, and the tests run
# under wine, in build/windows.
windows:
	$(call tested_preset,windows)

tidy:
	$(call default_build,tidy)
	find src tests bench data -name '*.cpp' -print0 | xargs -0 -P 2 -n 4 clang-tidy -p build/default --quiet

# Each fault of tools/faults.list planted alone must fail a test; FAULTS
# names some of them (all when empty).
plant-faults:
	./tools/install-deps faults
	./tools/plant-faults $(FAULTS)

# Installs what purpose $(1) of tools/install-deps needs, then builds the
# default preset (tests and benchmarks) in build/default.
define default_build
./tools/install-deps $(1)
cmake --preset default
cmake --build --preset default
endef

# Installs what purpose $(1) needs, builds the preset of that name and runs
# its tests.
define tested_preset
./tools/install-deps $(1)
cmake --preset $(1)
cmake --build --preset $(1)
ctest --preset $(1)
endef

# Ticks a second of the tick handler on the in-memory controls.
bench:
	$(call default_build,bench)
	./build/default/bench/tick_benchmark

# The tick source against plain Qt timers, idle, loaded and stalled.
bench-ticks:
	$(call default_build,bench)
	QT_QPA_PLATFORM=offscreen ./build/default/bench/tick_accuracy $(TICKS) bench/results/tick_accuracy

# Exec to the first paint of the window, and peak memory, against an empty
# Qt Widgets window, on a virtual display with a session bus and a runtime
# folder, as a desktop has them.
bench-startup:
	$(call default_build,bench-x11)
	runtime=$$(mktemp -d) && XDG_RUNTIME_DIR=$$runtime xvfb-run -a -s "-screen 0 640x480x24" \
	    dbus-run-session -- ./build/default/bench/startup_benchmark $(RUNS) \
	    build/default/bench/floor_window build/default/src/app/timer; \
	    status=$$?; rm -rf "$$runtime"; exit $$status

# What wakes the program up, stopped and counting.
bench-idle:
	$(call default_build,bench-x11)
	xvfb-run -a -s "-screen 0 640x480x24" ./build/default/bench/idle_cost 20

clean:
	rm -rf build
