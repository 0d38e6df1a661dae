# Set-up commands: `make run` plays the sample course, `make test` runs every test.
BUILD_TYPE_RELEASE := build/release
BUILD_TYPE_TEST := build/test
JOBS ?= $(shell nproc)
PACKAGES := cmake g++ make qt6-base-dev libgtest-dev poppler-utils fonts-dejavu-core
# make fuzz only: clang and its fuzzer runtime.
FUZZ_PACKAGES := clang libclang-rt-dev
BUILD_TYPE_FUZZ := build/fuzz
FUZZ_SECONDS ?= 60
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

BENCH_PACKAGES := libbenchmark-dev xvfb xauth
.PHONY: run test build deps clean fuzz fuzz-play bench

deps:
	@missing=""; for p in $(PACKAGES); do \
	  dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  echo "Installing:$$missing"; \
	  $(SUDO) apt-get update -qq && \
	  DEBIAN_FRONTEND=noninteractive $(SUDO) apt-get install -y -qq $$missing; \
	fi

build: deps
	cmake -S . -B $(BUILD_TYPE_RELEASE) -DCMAKE_BUILD_TYPE=Release >/dev/null
	cmake --build $(BUILD_TYPE_RELEASE) -j $(JOBS) --target lorvenna lorvenna-check lorvenna-shot lorvenna-grades

run: build
	cd courseware && ../$(BUILD_TYPE_RELEASE)/lorvenna

test: deps
	cmake -S . -B $(BUILD_TYPE_TEST) -DCMAKE_BUILD_TYPE=Debug -DLORVENNA_SANITIZE=ON -DLORVENNA_TESTS=ON >/dev/null
	cmake --build $(BUILD_TYPE_TEST) -j $(JOBS)
	cd $(BUILD_TYPE_TEST) && ctest --output-on-failure -j $(JOBS)

FUZZ_CONFIGURE := cmake -S . -B $(BUILD_TYPE_FUZZ) -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_CXX_COMPILER=clang++ -DLORVENNA_FUZZ=ON -DLORVENNA_SANITIZE=ON >/dev/null

# Each fuzz target for FUZZ_SECONDS; what they find lands in build/fuzz/artifacts.
fuzz:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES)"
	$(FUZZ_CONFIGURE)
	cmake --build $(BUILD_TYPE_FUZZ) -j $(JOBS) --target fuzz_targets
	tests/fuzz/run-fuzzers.sh $(BUILD_TYPE_FUZZ) $(FUZZ_SECONDS)

# Damaged sample lessons and pictures played by the sanitizer build of the player under a
# real X server, PLAY_RUNS runs of PLAY_SECONDS each; runs that went bad land in
# build/fuzz/played. PLAY_SEED repeats a campaign; PLAY_GRADED=1 plays graded, pulling
# the key disk out and putting it back.
PLAY_RUNS ?= 60
PLAY_SECONDS ?= 8
PLAY_SEED ?= $(shell date +%s)
fuzz-play:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(FUZZ_PACKAGES) python3 xvfb xdotool"
	$(FUZZ_CONFIGURE)
	cmake --build $(BUILD_TYPE_FUZZ) -j $(JOBS) --target lorvenna
	tests/fuzz/play-mutated.py --player $(BUILD_TYPE_FUZZ)/lorvenna --course courseware \
	  --out $(BUILD_TYPE_FUZZ)/played --runs $(PLAY_RUNS) --seconds $(PLAY_SECONDS) \
	  --seed $(PLAY_SEED) $(if $(PLAY_GRADED),--graded)

# Figures of speed and memory with their baselines from the same run (see README).
bench:
	$(MAKE) deps PACKAGES="$(PACKAGES) $(BENCH_PACKAGES)"
	cmake -S . -B $(BUILD_TYPE_RELEASE) -DCMAKE_BUILD_TYPE=Release -DLORVENNA_BENCH=ON >/dev/null
	cmake --build $(BUILD_TYPE_RELEASE) -j $(JOBS) --target lorvenna_bench
	$(BUILD_TYPE_RELEASE)/lorvenna_bench $(BENCH_ARGS)

clean:
	rm -rf build

# Installing and packaging: `make install PREFIX=...` (default /usr/local) and `make package`,
# which leaves lorvenna_VERSION_ARCH.deb here for `apt install ./lorvenna_*.deb`. The tests
# check the package too, so they need the same tools.
PREFIX ?= /usr/local
PACKAGING_PACKAGES := dpkg-dev file desktop-file-utils appstream man-db python3
package test: PACKAGES += $(PACKAGING_PACKAGES)
# The screen-reader test reads the player through the desktop's accessibility bus under a
# virtual X server, with the keyboard driven by xdotool.
A11Y_PACKAGES := at-spi2-core python3-pyatspi dbus xvfb xauth xdotool
test: PACKAGES += $(A11Y_PACKAGES)
# The class report of lorvenna-grades is opened in a headless browser by its test.
REPORT_PACKAGES := chromium
test: PACKAGES += $(REPORT_PACKAGES)

.PHONY: install package

install: build
	cmake --build $(BUILD_TYPE_RELEASE) -j $(JOBS)
	cmake --install $(BUILD_TYPE_RELEASE) --prefix $(PREFIX)

package: build
	cmake --build $(BUILD_TYPE_RELEASE) -j $(JOBS)
	cd $(BUILD_TYPE_RELEASE) && cpack -G DEB
	mv $(BUILD_TYPE_RELEASE)/lorvenna_*.deb .
	@ls lorvenna_*.deb
