BUILD ?= build
ASAN_BUILD ?= build-asan
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
MANIFEST ?= $(BUILD)/install_manifest.txt

.PHONY: run test build deps bench format clean install uninstall

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release >/dev/null
	@cmake --build $(BUILD) -j $(JOBS)

# The first run makes a demo workspace in $(BUILD)/demo; later runs open it as the user left it.
run: build
	@./$(BUILD)/tools/vistello_demo templates $(BUILD)/demo
	@cd $(BUILD)/demo && "$(abspath $(BUILD))/vistello"

test: build
	@cd $(BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
ifneq ($(CI),)
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DVISTELLO_SANITIZE=ON -DVISTELLO_BENCH=OFF >/dev/null
	@cmake --build $(ASAN_BUILD) -j $(JOBS)
	@cd $(ASAN_BUILD) && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j $(JOBS)
endif

bench: build
	@QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/vistello_bench
	@QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/vistello_qt_bench

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes the files the last install wrote, as listed in its manifest, and nothing else.
uninstall:
	@test -f "$(MANIFEST)" || { echo "Nothing to uninstall: $(MANIFEST) is missing." >&2; exit 1; }
	@xargs -r -d '\n' rm -f -- < "$(MANIFEST)"

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD)
