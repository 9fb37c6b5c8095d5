BUILD    ?= build
SANITIZE ?= build-sanitize
JOBS     ?= $(shell nproc)

# Run-time settings of the sanitizers: stop at the first finding, with a
# stack trace, so that the test meeting it fails.
SANITIZER_ENV = ASAN_OPTIONS=abort_on_error=1:detect_leaks=1:strict_string_checks=1 \
                UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1

.PHONY: all setup build run test sanitize fuzz bench clean

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

# Every test again, built with AddressSanitizer and UndefinedBehaviorSanitizer
# in a folder of its own (not part of "make test").
sanitize: setup
	@cmake -S . -B $(SANITIZE) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTM_SANITIZE=ON \
	    -DCMAKE_CXX_COMPILER_LAUNCHER=$(shell command -v ccache) >/dev/null
	@cmake --build $(SANITIZE) -j$(JOBS)
	@cd $(SANITIZE) && $(SANITIZER_ENV) QT_QPA_PLATFORM=offscreen \
	    ctest --output-on-failure -j$(JOBS)

clean:
	rm -rf $(BUILD) $(SANITIZE)
