BUILD    ?= build
SANITIZE ?= build-sanitize
JOBS     ?= $(shell nproc)
# Mutants per driver of the long fuzz run, and the seed of their damage.
FUZZ_MUTANTS ?= 5000
FUZZ_SEED    ?= 7
# Inputs of the importers' long fuzz run (in the sanitizer build).
FUZZ_IMPORTS ?= 200000

# Run-time settings of the sanitizers: stop at the first finding, with a
# stack trace, so that the test meeting it fails.
SANITIZER_ENV = ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:max_allocation_size_mb=256 \
                LSAN_OPTIONS=suppressions=$(CURDIR)/scripts/lsan.supp \
                UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all setup build run test sanitize fuzz bench install clean

all: build

setup:
	@scripts/setup.sh

build: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS)

run: build
	@scripts/run.sh $(BUILD)

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j$(JOBS)

# Installs under the CMake install prefix (/usr/local unless PREFIX=... is given).
install: build
	@cmake --install $(BUILD) $(if $(PREFIX),--prefix $(PREFIX))

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a folder of its own (not part of "make test").  -O1 with line tables
# only: quicker to build, and still a stack trace with file and line.
sanitize: setup
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTM_SANITIZE=ON \
	    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
	    -DCMAKE_CXX_COMPILER_LAUNCHER=$(shell command -v ccache) >/dev/null
	@cmake --build $(SANITIZE) -j$(JOBS)
	@cd $(SANITIZE) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen \
	    ctest --output-on-failure -j$(JOBS)

# The long run of the engine's fuzz programs (built with the sanitizers in
# the plain build): FUZZ_MUTANTS mutants of the corpus's tables per driver;
# then FUZZ_IMPORTS damaged inputs into the importers, in the sanitizer
# build (the grid and Qt layers come with them).
fuzz: setup
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
	@cmake --build $(BUILD) -j$(JOBS) --target fuzz_dbf fuzz_cdx fuzz_paradox fuzz_ascii
	@for driver in dbf cdx paradox ascii; do \
	    $(SANITIZER_ENV) $(BUILD)/tests/data/engine/fuzz/fuzz_$$driver --mutants $(FUZZ_MUTANTS) \
	        --seed $(FUZZ_SEED) --max-seed-bytes 1048576 \
	        --last-input $(BUILD)/tests/data/engine/fuzz/fuzz_$$driver.last || exit 1; \
	done
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTM_SANITIZE=ON \
	    -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g1 -DNDEBUG" \
	    -DCMAKE_CXX_COMPILER_LAUNCHER=$(shell command -v ccache) >/dev/null
	@cmake --build $(SANITIZE) -j$(JOBS) --target fuzz_import
	@$(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen $(SANITIZE)/tests/fuzz_import \
	    --count $(FUZZ_IMPORTS) --seed $(FUZZ_SEED)

clean:
	rm -rf $(BUILD) $(SANITIZE)
