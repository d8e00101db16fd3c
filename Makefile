# Zigwalk: the two everyday commands, plus benchmarks and pictures.
BUILD ?= build
JOBS ?= $(shell nproc)

.PHONY: all deps configure build run test bench pictures clean

all: build

deps:
	@bash tools/install-deps.sh

configure: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null

build: configure
	@cmake --build $(BUILD) -j $(JOBS)

run: build
	./$(BUILD)/zigwalk

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

# Redraws every picture under assets/pictures from the drawing code.
pictures: build
	./$(BUILD)/tools/zigwalk-draw assets/pictures

clean:
	rm -rf $(BUILD)
