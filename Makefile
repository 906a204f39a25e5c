# Vyr: build, play and test. Every target first makes sure the tools it needs are installed.

BUILD      ?= build
SAN_BUILD  ?= build-sanitize
TSAN_BUILD ?= build-tsan
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 60
WERROR     ?= OFF
JOBS       ?= $(shell nproc)

CMAKE_FLAGS = -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVYR_WERROR=$(WERROR)

.PHONY: all deps configure build run test test-sanitize generated-data test-address test-thread bench fuzz clean

all: build

# The quit keys end the game with their key code's low byte: Ctrl+Q 16, Ctrl+Alt+Del 83.
QUIT_STATUSES = 0 16 83

# What tools/install-deps installs: "test" for everything, "run" for the game alone.
DEPS ?= test

deps:
	@tools/install-deps $(DEPS)

$(BUILD)/build.ninja: | deps
	cmake -S . -B $(BUILD) $(CMAKE_FLAGS)

configure: $(BUILD)/build.ninja
	cmake -S . -B $(BUILD) -DVYR_WERROR=$(WERROR) >/dev/null

build: deps configure
	ninja -C $(BUILD) -j $(JOBS)

run:
	@$(MAKE) --no-print-directory configure DEPS=run
	ninja -C $(BUILD) vyr vyrgen data
	@$(BUILD)/vyr; status=$$?; \
	case " $(QUIT_STATUSES) " in *" $$status "*) ;; *) exit $$status ;; esac

test: build
	ctest --test-dir $(BUILD) --output-on-failure -j $(JOBS)

# AddressSanitizer and UndefinedBehaviorSanitizer on the whole suite, then ThreadSanitizer on the
# tests labelled as threading tests (the two kinds cannot share a build). Both read the data set
# of the normal build and leave out the benchmarks and the data tool; the ThreadSanitizer build
# builds only the test binaries that hold threading tests. Their binaries run whole and shuffled,
# not a process a test: a sanitized process is slow to start.
SAN_FLAGS = $(CMAKE_FLAGS) -DVYR_BENCHMARKS=OFF -DVYR_DATA_FROM=$(CURDIR)/$(BUILD)/data

test-sanitize: test-address test-thread

generated-data: configure
	ninja -C $(BUILD) -j $(JOBS) data

test-address: generated-data
	cmake -S . -B $(SAN_BUILD) $(SAN_FLAGS) -DVYR_SANITIZE=address,undefined
	ninja -C $(SAN_BUILD) -j $(JOBS)
	LSAN_OPTIONS=suppressions=$(CURDIR)/tests/lsan.supp:print_suppressions=0 SHARDS=4 JOBS=$(JOBS) tests/run-binaries $(SAN_BUILD)

test-thread: generated-data
	cmake -S . -B $(TSAN_BUILD) $(SAN_FLAGS) -DVYR_SANITIZE=thread
	ninja -C $(TSAN_BUILD) -j $(JOBS) threaded_tests
	JOBS=$(JOBS) tests/run-binaries $(TSAN_BUILD) '*Threaded*'

bench: build
	@for b in $(BUILD)/bench/bench_*; do [ -x "$$b" ] && "$$b" || true; done

clean:
	rm -rf $(BUILD) $(SAN_BUILD) $(TSAN_BUILD)

# The decoder of received network blocks under libFuzzer (clang), from the malformed corpus, and
# the modem reply reader.
fuzz: deps
	CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) $(CMAKE_FLAGS) -DVYR_BENCHMARKS=OFF -DVYR_FUZZ=ON
	ninja -C $(FUZZ_BUILD) -j $(JOBS) net_decoder_fuzz modem_reply_fuzz
	mkdir -p $(FUZZ_BUILD)/corpus && cp tests/fixtures/net_malformed/* $(FUZZ_BUILD)/corpus/
	$(FUZZ_BUILD)/fuzz/net_decoder_fuzz -max_total_time=$(FUZZ_SECONDS) $(FUZZ_BUILD)/corpus
	$(FUZZ_BUILD)/fuzz/modem_reply_fuzz -max_total_time=$(FUZZ_SECONDS)
