# The two commands of the README: `make run` and `make test`.
BUILD   ?= build
JOBS    ?= $(shell nproc)
MAKEFLAGS += --no-print-directory
CMAKE   := cmake

FUZZ_SECONDS ?= 300

# The builds of `make test` (debug, sanitizers, Windows) fail on any warning of the compiler; the
# release build that `make run` makes, and a build configured by hand, only show them.
AVVISI_ERRORI := -DCMAKE_COMPILE_WARNING_AS_ERROR=ON

# Every build compiles through ccache when the machine has it (scripts/install-deps installs it,
# so it is looked for when a build is configured, after deps), its cache in the user's cache
# folder: a second clone, a build folder made anew or CI on the same machine compiles only what
# changed. Paths are taken relative to the clone, so that two clones share what they compile alike;
# the debug information too (CMakeLists.txt), so that ccache need not tell the folders apart.
export CCACHE_BASEDIR := $(CURDIR)
export CCACHE_MAXSIZE ?= 5G
CONFIGURA = $(CMAKE) $$(command -v ccache >/dev/null && echo -DCMAKE_CXX_COMPILER_LAUNCHER=ccache)

.PHONY: run test prova deps release debug asan windows bench fuzz gui clean

deps:
	@scripts/install-deps

release: deps
	@$(CONFIGURA) -S . -B $(BUILD)/release -DCMAKE_BUILD_TYPE=Release >/dev/null
	@$(CMAKE) --build $(BUILD)/release -j $(JOBS) --target quibold

# The main job: the creation run over the bundled sample archive.
run: release
	@scripts/run-sample $(BUILD)/release/src/quibold

# The window (needs a display).
gui: release
	$(BUILD)/release/src/quibold

debug: deps
	@$(CONFIGURA) -S . -B $(BUILD)/debug -DCMAKE_BUILD_TYPE=Debug $(AVVISI_ERRORI) >/dev/null
	@$(CMAKE) --build $(BUILD)/debug -j $(JOBS)

asan: deps
	@$(CONFIGURA) -S . -B $(BUILD)/asan -DCMAKE_BUILD_TYPE=Debug -DQUIBOLD_GUI=OFF -DQUIBOLD_SANITIZE=ON $(AVVISI_ERRORI) >/dev/null
	@$(CMAKE) --build $(BUILD)/asan -j $(JOBS)

# Windows (mingw-w64), with Qt for Windows built once per machine outside the clone
# (scripts/qt-windows, 16 to 50 minutes the first time): build/windows/quibold.exe, which needs
# only Windows' own DLLs, and quibold-windows.zip with LEGGIMI.txt; quibold-finestra.exe with Qt
# beside it; the installer quibold-<version>-installazione.exe; the tests of both.
windows: deps
	@qt=$$(scripts/qt-windows) && $(CONFIGURA) -S . -B $(BUILD)/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
	  -DCMAKE_BUILD_TYPE=Release -DQUIBOLD_GUI=ON -DQUIBOLD_QT_WINDOWS="$$qt" $(AVVISI_ERRORI) >/dev/null
	@$(CMAKE) --build $(BUILD)/windows -j $(JOBS) --target quibold quibold-finestra quibold_test quibold_finestra_test \
	  pacchetto_windows installatore_windows

# The tests of each build several at a time, as many as the machine has cores: each makes its
# own folders, ports and files, so that none waits for another.
test: debug asan windows
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD)/debug --output-on-failure -j $(JOBS)
	ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
	  ctest --test-dir $(BUILD)/asan --output-on-failure -j $(JOBS)
	scripts/prova-windows $(BUILD)/windows $(BUILD)/debug/src/quibold $(BUILD)/debug/samples/quibold_genera

# The quick loop for one's own change: the debug build and its tests, without the sanitizer and
# Windows builds. `make test` is still what must pass before a commit lands.
prova: debug
	QT_QPA_PLATFORM=offscreen ctest --test-dir $(BUILD)/debug --output-on-failure -j $(JOBS)

# The program against a raw copy on the same disk, then the hot steps (not part of `make test`).
bench: deps
	@$(CONFIGURA) -S . -B $(BUILD)/bench -DCMAKE_BUILD_TYPE=Release -DQUIBOLD_BENCH=ON >/dev/null
	@$(CMAKE) --build $(BUILD)/bench -j $(JOBS) --target quibold quibold_bench quibold_confronto quibold_vista_bench
	@mkdir -p $(BUILD)/bench/confronto
	$(BUILD)/bench/bench/quibold_confronto $(BUILD)/bench/src/quibold $(BUILD)/bench/confronto
	$(BUILD)/bench/bench/quibold_bench
	$(BUILD)/bench/bench/quibold_vista_bench

# The two fuzzers (clang, libFuzzer with AddressSanitizer and UBSan), FUZZ_SECONDS in all, half
# each: the window's run over an archive, and raw bytes for the check; FUZZ_ARGS adds options of
# libFuzzer. Inputs that break a promise land in $(BUILD)/fuzz/trovati.
fuzz: deps
	@$(CONFIGURA) -S . -B $(BUILD)/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
	  -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O2 -g" -DQUIBOLD_GUI=OFF -DQUIBOLD_FUZZ=ON >/dev/null
	@$(CMAKE) --build $(BUILD)/fuzz -j $(JOBS) --target quibold_fuzz quibold_fuzz_verifica quibold_semi
	@scripts/run-fuzz $(BUILD)/fuzz $(FUZZ_SECONDS) $(FUZZ_ARGS)

clean:
	rm -rf $(BUILD)

# The Debian package of the release build, made by CPack: $(BUILD)/quibold_<version>_<arch>.deb.
# `make test` checks the package of the debug build the same way (scripts/check-deb).
.PHONY: deb
deb: release
	@cd $(BUILD)/release && cpack -G DEB -B $(abspath $(BUILD)) >/dev/null
	@rm -rf $(BUILD)/_CPack_Packages
	@ls $(BUILD)/quibold_*.deb
