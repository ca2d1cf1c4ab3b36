# The user's door: make demo, make test.
PRESET ?= default
BUILD_DIR := build/$(PRESET)
# Debian packages the build needs.
PACKAGES := build-essential cmake ninja-build pkg-config libgtest-dev libgmock-dev libbenchmark-dev libpugixml-dev lib2geom-dev libboost-dev \
  libfreetype-dev libfontconfig-dev libharfbuzz-dev fonts-dejavu-core libcli11-dev

.PHONY: all deps configure build test demo clean format

all: build

deps:
	@missing=""; \
	for p in $(PACKAGES); do dpkg -s $$p >/dev/null 2>&1 || missing="$$missing $$p"; done; \
	if [ -n "$$missing" ]; then \
	  if [ "$$(id -u)" -eq 0 ]; then \
	    echo "installing:$$missing"; \
	    apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $$missing; \
	  else \
	    echo "missing Debian packages:$$missing"; \
	    echo "run as root: apt-get install$$missing   (or: sudo make deps)"; \
	    exit 1; \
	  fi; \
	fi

$(BUILD_DIR)/build.ninja:
	cmake --preset $(PRESET)

configure: deps $(BUILD_DIR)/build.ninja

build: configure
	cmake --build --preset $(PRESET)

test: build
	ctest --preset $(PRESET) -j2

demo: build
	$(BUILD_DIR)/bin/vertigon demo --out out/gallery

format:
	git ls-files '*.cpp' '*.hpp' '*.h' | xargs clang-format -i

clean:
	rm -rf build
