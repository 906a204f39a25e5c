# Vyr: build, play and test. Every target first makes sure the tools it needs are installed.

BUILD      ?= build
SAN_BUILD  ?= build-sanitize
TSAN_BUILD ?= build-tsan
WERROR     ?= OFF
JOBS       ?= $(shell nproc)

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYR_WERROR=$(WERROR)

.PHONY: all deps build run test test-sanitize bench clean

all: build

deps:
	@tools/install-deps

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DVYR_WERROR=$(WERROR) >/dev/null
	ninja -C $(BUILD)

run: build
	mkdir -p $(BUILD)/play
	cd $(BUILD)/play && ../vyr

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# AddressSanitizer and UndefinedBehaviorSanitizer on the whole suite, then ThreadSanitizer on the
# tests labelled as threading tests (the two kinds cannot share a build).
test-sanitize: deps
	cmake -S . -B $(SAN_BUILD) $(CMAKE_FLAGS) -DVYR_SANITIZE=address,undefined
	ninja -C $(SAN_BUILD)
	ctest --test-dir $(SAN_BUILD) --output-on-failure -j $(JOBS)
	cmake -S . -B $(TSAN_BUILD) $(CMAKE_FLAGS) -DVYR_SANITIZE=thread
	ninja -C $(TSAN_BUILD)
	ctest --test-dir $(TSAN_BUILD) --output-on-failure -j $(JOBS) -R 'Threaded'

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || true; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD)
