# The two commands: `make run` starts the program, `make test` runs every test.
BUILD ?= build
ASAN_BUILD ?= build-asan
GENERATOR ?= -G Ninja
CMAKE_FLAGS ?= -DCMAKE_BUILD_TYPE=RelWithDebInfo

# The sanitized pass: leaks are checked, and only the suppressions in
# tests/lsan.supp (leaks inside system libraries) are allowed. The roads that run
# the program as an unprivileged user must read them too, and the checkout may
# lie where that user cannot go: they are read from a copy in /tmp.
LSAN_SUPP = /tmp/qelsim-lsan-$(shell id -u).supp
ASAN_ENV = ASAN_OPTIONS=detect_leaks=1:abort_on_error=0:halt_on_error=1 \
	LSAN_OPTIONS=suppressions=$(LSAN_SUPP):print_suppressions=0 \
	UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

# Seconds each fuzz target runs in the test pass; `make fuzz FUZZ_SECONDS=3600`
# runs them for longer.
FUZZ_SECONDS ?= 60

# Every target built once more as a packager builds it, optimised (-O3): some
# warnings show only there. Nothing in it is run.
RELEASE_BUILD ?= build-release

# The Windows program, cross-built against Qt for Windows that tools/windows/build-qt.sh
# builds once into a cache outside the checkout (about 35 minutes the first time).
WINDOWS_BUILD ?= build-windows
WINDOWS_QT = $(shell sh tools/windows/build-qt.sh --prefix)
WINDOWS_HUNSPELL = $(shell sh tools/windows/build-hunspell.sh --prefix)

.PHONY: run test build deps bench sanitized fuzz release static-checks clean windows windows-qt windows-test

deps:
	@sh tools/deps.sh

$(BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(BUILD) $(GENERATOR) $(CMAKE_FLAGS)

build: deps $(BUILD)/build.ninja
	cmake --build $(BUILD)

# `make run` starts the program from run/, which each build refreshes with the
# program folder's files and `make clean` leaves alone: the essays saved in
# run/user/ are the user's.
RUN_FOLDER = run

run: build
	mkdir -p $(RUN_FOLDER)/user
	find $(BUILD)/qelsim -maxdepth 1 -type f -exec cp --remove-destination -p {} $(RUN_FOLDER)/ \;
	cd $(RUN_FOLDER) && ./qelsim

$(ASAN_BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(ASAN_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Debug -DQEL_SANITIZE=ON \
		-DQEL_BENCHMARKS=OFF -DQEL_WERROR=ON

# A test that fails is run once more: LeakSanitizer now and then cannot stop the
# threads of a busy process at its exit and gives up with a fatal error of its
# own; a real leak or fault fails both runs.
sanitized: deps $(ASAN_BUILD)/build.ninja
	cmake --build $(ASAN_BUILD)
	install -m 644 tests/lsan.supp $(LSAN_SUPP)
	cd $(ASAN_BUILD) && $(ASAN_ENV) ctest --output-on-failure -E "package" --repeat until-pass:2

fuzz: deps
	sh tools/fuzz.sh $(FUZZ_SECONDS)

release: deps
	cmake -S . -B $(RELEASE_BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQEL_WERROR=ON \
		-DQEL_BENCHMARKS=ON >/dev/null
	cmake --build $(RELEASE_BUILD)

windows-qt: deps
	sh tools/windows/build-qt.sh
	sh tools/windows/build-hunspell.sh

$(WINDOWS_BUILD)/build.ninja: CMakeLists.txt | deps
	cmake -S . -B $(WINDOWS_BUILD) $(GENERATOR) \
		-DCMAKE_TOOLCHAIN_FILE=tools/windows/program-toolchain.cmake \
		-DQEL_QT_PREFIX=$(WINDOWS_QT) -DQEL_HUNSPELL_PREFIX=$(WINDOWS_HUNSPELL) -DQT_HOST_PATH=/usr \
		-DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake \
		-DCMAKE_CROSSCOMPILING_EMULATOR=$(CURDIR)/tools/windows/wine.sh \
		-DCMAKE_BUILD_TYPE=Release -DQEL_WERROR=ON -DQEL_BENCHMARKS=OFF >/dev/null

# `make windows` leaves build-windows/qelsim-<version>-windows-x64.zip.
windows: windows-qt $(WINDOWS_BUILD)/build.ninja
	cmake --build $(WINDOWS_BUILD) --target all windows-zip

# The Windows pass of `make test`: every suite built as Windows programs and run
# under Wine, the program's roads through qelsim.exe, and the zip. It runs when Qt
# for Windows is in the cache and says plainly that it was skipped otherwise.
windows-test: deps
	@if [ -f "$(WINDOWS_QT)/.complete" ]; then \
		$(MAKE) --no-print-directory windows && \
		cd $(WINDOWS_BUILD) && ctest --output-on-failure; \
	else \
		echo "Windows pass: SKIPPED, no Qt for Windows in $(WINDOWS_QT) (make windows-qt builds it)"; \
	fi

# clang-format over every source file and clang-tidy over every one the build compiles.
static-checks: build
	sh tools/static-checks.sh $(BUILD)

# Warnings are errors in the test pass only: a plain build must not fail because a
# newer compiler finds something new to warn about. The pass builds and tests every
# target optimised as a packager builds it (Release, -O3), where some warnings only
# show; `make release` does the same build alone, in a folder of its own.
test: deps
	cmake -S . -B $(BUILD) $(GENERATOR) -DCMAKE_BUILD_TYPE=Release -DQEL_WERROR=ON >/dev/null
	cmake --build $(BUILD)
	cd $(BUILD) && ctest --output-on-failure
	$(MAKE) --no-print-directory static-checks
	$(MAKE) --no-print-directory sanitized
	$(MAKE) --no-print-directory fuzz
	$(MAKE) --no-print-directory windows-test
	@python3 tools/testratio.py

# Every bench/bench_* with repetitions (their medians are kept), then the
# start-up figures from outside the program; docs/performance.md is written
# from what they printed.
BENCH_REPETITIONS ?= 3
BENCH_OUTPUT = $(BUILD)/bench-output.txt

bench: build
	cd $(BUILD) && for b in bench/bench_*; do \
		[ -x "$$b" ] && "$$b" --benchmark_repetitions=$(BENCH_REPETITIONS) \
			--benchmark_report_aggregates_only=true; \
	done 2>&1 | tee bench-output.txt
	python3 bench/startup.py $(BUILD) | tee -a $(BENCH_OUTPUT)
	python3 tools/performance.py --log $(BENCH_OUTPUT)

# The build folders only; run/ keeps the essays.
clean:
	rm -rf $(BUILD) $(ASAN_BUILD) build-fuzz $(RELEASE_BUILD) $(WINDOWS_BUILD)
