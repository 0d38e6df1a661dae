# Set-up commands: `make run` plays the sample course, `make test` runs every test.
BUILD_TYPE_RELEASE := build/release
BUILD_TYPE_TEST := build/test
JOBS ?= $(shell nproc)
PACKAGES := cmake g++ make qt6-base-dev libgtest-dev poppler-utils fonts-dejavu-core
SUDO := $(shell [ "$$(id -u)" = 0 ] || echo sudo)

.PHONY: run test build deps clean

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
	cmake --build $(BUILD_TYPE_RELEASE) -j $(JOBS) --target lorvenna

run: build
	cd courseware && ../$(BUILD_TYPE_RELEASE)/lorvenna

test: deps
	cmake -S . -B $(BUILD_TYPE_TEST) -DCMAKE_BUILD_TYPE=Debug -DLORVENNA_SANITIZE=ON -DLORVENNA_TESTS=ON >/dev/null
	cmake --build $(BUILD_TYPE_TEST) -j $(JOBS)
	cd $(BUILD_TYPE_TEST) && ctest --output-on-failure -j $(JOBS)

clean:
	rm -rf build
