# Zigwalk: the two everyday commands, plus benchmarks, pictures, soak and fuzzing.
BUILD ?= build
JOBS ?= $(shell nproc)
# The build's own make runs nested in this one and would say "Entering
# directory" at every level; the progress lines say enough.
MAKEFLAGS += --no-print-directory

.PHONY: all deps configure build run test sanitize package bench pictures soak fuzz clean

all: build

deps:
	@bash tools/install-deps.sh

# Qt says on every start of a program that finds no runtime folder that it
# makes one of its own; the programs the build runs (the test listings, the
# level pictures' snap) and the tests get one, private as a desktop's is.
RUNTIME_DIR = $(abspath $(BUILD))/runtime
configure build test: export XDG_RUNTIME_DIR = $(RUNTIME_DIR)

# "Built target" after every target would say again what the progress lines
# said: one line a compiled file is enough.
configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIGWALK_TESTS=ON -DCMAKE_TARGET_MESSAGES=OFF >/dev/null
	@install -d -m 0700 $(RUNTIME_DIR)

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

# Playing needs less than testing: only the packages that building and running
# take, and only the game and its tune are built (no tests, no tools beyond
# the ones that make them).
run:
	@bash tools/install-deps.sh run
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIGWALK_TESTS=OFF >/dev/null
	@cmake --build $(BUILD) -j $(JOBS) --target game
	$(BUILD)/zigwalk

# One line a test, the output of the failed ones, and the skipped ones with
# their reasons (tools/run-tests.sh).
test: build
	@bash tools/run-tests.sh $(BUILD) $(JOBS)

# The whole suite under the address and undefined-behaviour sanitizers
# (Debug at -O1, in $(ASAN_BUILD)), then the sound, synthesiser and
# real-window sound tests under the thread sanitizer (in $(TSAN_BUILD)).
# Every report, also from a game or helper program a test starts, is
# written under <build>/sanitizer-reports; any report fails the target.
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
SANITIZE_FLAGS = -O1 -g -fno-omit-frame-pointer
TSAN_TARGETS = platform_tests e2e_sound_tests e2e_without_synthesiser_tests sound_teardown zigwalk
TSAN_TESTS = Synth|Sound|e2e_sound|e2e_without_synthesiser
sanitize: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
		-DCMAKE_CXX_FLAGS_DEBUG="$(SANITIZE_FLAGS) -fsanitize=address,undefined -fno-sanitize-recover=undefined" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=address,undefined" >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@bash tools/sanitized-ctest.sh $(ASAN_BUILD) "" \
		ASAN_OPTIONS="detect_leaks=1:halt_on_error=1:detect_stack_use_after_return=0" \
		LSAN_OPTIONS="suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0" \
		UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=Debug \
		-DCMAKE_CXX_FLAGS_DEBUG="$(SANITIZE_FLAGS) -fsanitize=thread" \
		-DCMAKE_EXE_LINKER_FLAGS="-fsanitize=thread" >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target $(TSAN_TARGETS)
	@bash tools/sanitized-ctest.sh $(TSAN_BUILD) "$(TSAN_TESTS)" \
		TSAN_OPTIONS="halt_on_error=1:second_deadlock_stack=1:suppressions=$(CURDIR)/tests/tsan.supp"

# The Debian package, $(BUILD)/zigwalk_<version>_<arch>.deb (packaging/).
package: build
	@cmake --build $(BUILD) --target package

# Timings and memory against a bare Qt window, in build-bench (bench/README.md).
bench: deps
	@bash bench/run.sh

# Redraws every picture under assets/pictures from the drawing code.
pictures: build
	./$(BUILD)/tools/zigwalk-draw assets/pictures

# The trust tests at full length: 200 kills, ten million soak events,
# ten million random-play events.
soak: build
	cd $(BUILD) && ZIGWALK_KILLS=200 ZIGWALK_SOAK_EVENTS=10000000 ZIGWALK_RANDOM_EVENTS=2500000 \
		ctest --output-on-failure -j $(JOBS) -L reliability

# Random play and stored data under libFuzzer, FUZZ_SECONDS each. Built with
# clang in its own folder; new inputs collect in $(FUZZ_BUILD)/corpus, the
# seeds in fuzz/corpus stay as they are.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_TARGETS = fuzz_random_play fuzz_load fuzz_store
fuzz:
	@bash tools/install-deps.sh fuzz
	@cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++-14 \
		-DZIGWALK_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS) --target $(FUZZ_TARGETS)
	@for target in $(FUZZ_TARGETS); do \
		mkdir -p $(FUZZ_BUILD)/corpus/$$target && \
		./$(FUZZ_BUILD)/fuzz/$$target -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
			-artifact_prefix=$(FUZZ_BUILD)/ $(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target || exit 1; \
	done

clean:
	rm -rf $(BUILD)
