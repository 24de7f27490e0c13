# The two commands of the README: `make run` and `make test`.
.PHONY: deps build run test test-fast test-sanitize bench clean golden install package

BUILD_DIR ?= build
SAN_DIR ?= build-sanitize
CLI_DIR ?= build-cli
PREFIX ?= /usr/local
JOBS ?= $(shell nproc)
CMAKE_FLAGS ?=
ifeq ($(CI),true)
CMAKE_FLAGS += -DQUORL_WERROR=ON
endif

deps:
	@tools/install-deps.sh

$(BUILD_DIR)/build.ninja: | deps
	cmake -S . -B $(BUILD_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_FLAGS)

build: deps $(BUILD_DIR)/build.ninja
	cmake --build $(BUILD_DIR) -j $(JOBS)

run: build
	@tools/run.sh

# Every test, then every test again under AddressSanitizer and
# UndefinedBehaviorSanitizer.
test: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)
	$(MAKE) test-sanitize

test-fast: build
	cd $(BUILD_DIR) && ctest --output-on-failure -j $(JOBS)

test-sanitize: deps
	cmake -S . -B $(SAN_DIR) -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQUORL_SANITIZE=ON $(CMAKE_FLAGS)
	cmake --build $(SAN_DIR) -j $(JOBS)
	cd $(SAN_DIR) && ctest --output-on-failure -j $(JOBS)

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
	rm -rf $(BUILD_DIR) $(SAN_DIR) $(CLI_DIR)
