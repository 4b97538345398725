# Orvanta front door: `make run` builds and starts the program, `make test` builds and runs every test.
BUILD_DIR ?= build
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?= -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo

PREFIX ?= /usr/local

.PHONY: all deps configure build run test bench install deb clean

all: build

deps:
	@scripts/install-deps

configure: deps
	@if [ ! -f $(BUILD_DIR)/build.ninja ]; then cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS); fi

build: configure
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	$(BUILD_DIR)/bin/orvanta

test: build
	cd $(BUILD_DIR) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)

# Installs into $(PREFIX) (and under $(DESTDIR) when set): the program folder
# $(PREFIX)/lib/orvanta, links in $(PREFIX)/bin, desktop files under $(PREFIX)/share;
# then refreshes the desktop's MIME, application and icon caches of that prefix.
install: build
	cmake --install $(BUILD_DIR) --prefix $(PREFIX)
	@if [ -z "$(DESTDIR)" ]; then \
	  update-mime-database $(PREFIX)/share/mime 2>/dev/null || true; \
	  update-desktop-database -q $(PREFIX)/share/applications 2>/dev/null || true; \
	  gtk-update-icon-cache -q -t $(PREFIX)/share/icons/hicolor 2>/dev/null || true; \
	fi

# Builds the Debian package into $(BUILD_DIR)/package/.
deb: build
	cd $(BUILD_DIR) && cpack -G DEB --config CPackConfig.cmake

bench: deps
	cmake -S . -B $(BUILD_DIR)-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DOV_BUILD_BENCH=ON
	cmake --build $(BUILD_DIR)-bench -j $(JOBS)
	@for b in $(BUILD_DIR)-bench/bin/bench_*; do echo "== $$b"; QT_QPA_PLATFORM=offscreen $$b; done

clean:
	rm -rf $(BUILD_DIR) $(BUILD_DIR)-bench
