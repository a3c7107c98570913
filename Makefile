# The two commands of the README:
#   make run    installs what is missing, builds (Release) and starts TAMU
#   make test   installs what is missing, builds (Release) and runs every test
#   make deb    the Debian package: dist/tamu_<version>_<arch>.deb
#   make windows  TAMU for Windows: dist/TAMU-<version>-win64.zip and dist/TAMU-<version>-setup.exe
BUILD ?= build
CMAKE_ARGS ?=
JOBS ?= $(shell nproc)

.PHONY: deps configure build run test deb windows clean

deps:
	@bash scripts/install-deps.sh

configure: deps
	cmake -S . -B $(BUILD) -G Ninja -DCMAKE_BUILD_TYPE=Release $(CMAKE_ARGS)

build: configure
	cmake --build $(BUILD) -j $(JOBS)

run: build
	$(BUILD)/bin/tamu

test: build
	cd $(BUILD) && ctest --output-on-failure -j $(JOBS)

deb: build
	cd $(BUILD) && cpack -G DEB
	mkdir -p dist && mv $(BUILD)/tamu_*.deb dist/

windows:
	@bash scripts/build-windows.sh

clean:
	rm -rf $(BUILD)
