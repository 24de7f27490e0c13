# The two commands of the README: `make run` and `make test`.
.PHONY: deps build run test test-fast test-sanitize test-thread bench clean golden install package

BUILD_DIR ?= build
SAN_DIR ?= build-sanitize
TSAN_DIR ?= build-tsan
CLI_DIR ?= build-cli
PREFIX ?= /usr/local
# The tests that run threads: the pool, the point batches and the runs that
# share work between threads, and renders that share rows.
THREAD_TESTS ?= ^(WorkerPool|WorkSharing|Threads|Run|ShapeStep|Batches|StepsAhead|RowSharing)\.
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DQUORL_WERROR=ON
endif

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

# A build folder made earlier keeps its cached options: flags given now are
# passed to it by configuring again.
build: deps $(BUILD_DIR)/build.ninja
ifneq ($(strip $(CMAKE_FLAGS)),)
	cmake -S . -B $(BUILD_DIR) $(CMAKE_FLAGS)
endif
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@tools/run.sh

# Every test, then every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer, then the threading tests under ThreadSanitizer.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-sanitize
	$(MAKE) test-thread

test-fast: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ctest --output-on-failure -j $(JOBS)

# Without the window: the threads live in the core, and the build is quicker.
test-thread: deps
	cmake -S . -B $(TSAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DQUORL_TSAN=ON -DQUORL_GUI=OFF $(CMAKE_FLAGS)
	cmake --build $(TSAN_DIR) -j $(JOBS)
	cd $(TSAN_DIR) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -R '$(THREAD_TESTS)'

bench: build
	@tools/bench.sh

# Re-creates the checked-in golden pictures after an intended change.
golden: build
	@tools/make-golden.sh

# Installs into PREFIX (default /usr/local); DESTDIR stages it elsewhere.
install: build
	DESTDIR=$(DESTDIR) cmake --install $(BUILD_DIR) --prefix $(PREFIX)

# The Debian packages: quorl (with the window) from the build tree, and
# quorl-cli, for render machines without a desktop, from a tree without Qt.
package: build
	cd $(BUILD_DIR) && cpack -G DEB
	cmake -S . -B $(CLI_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORL_GUI=OFF -DQUORL_TESTS=OFF $(CMAKE_FLAGS)
	cmake --build $(CLI_DIR) -j $(JOBS)
	cd $(CLI_DIR) && cpack -G DEB
	@ls -1 $(BUILD_DIR)/*.deb $(CLI_DIR)/*.deb

clean:
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(TSAN_DIR) $(CLI_DIR)
