SHELL := /bin/bash
BUILD ?= build
ASAN_BUILD ?= build-asan
TSAN_BUILD ?= build-tsan
# The tests whose code runs on the picture threads or the publishing connections.
TSAN_TESTS = ParallelRun|ThumbnailCache|WebShow|GenerateTest|^PublishTest\.
FUZZ_BUILD ?= build-fuzz
FUZZ_SECONDS ?= 300
FUZZ_TARGETS = codecs key_value page_text page_names photo_details clip_files kind_blocks ready_mp4 gif_text key_file png_text
JOBS ?= $(shell nproc)
PREFIX ?= /usr/local
MANIFEST ?= $(BUILD)/install_manifest.txt

.PHONY: run test build deps bench fuzz tsan format clean install uninstall package

deps:
	@./scripts/install-deps.sh

build: deps
	@cmake -S . -B $(BUILD) -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=$(PREFIX) >/dev/null
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
	@$(MAKE) --no-print-directory tsan
	@$(MAKE) --no-print-directory fuzz FUZZ_SECONDS=20
	@$(MAKE) --no-print-directory package
	@./scripts/check-package.sh $(BUILD)/vistello_*_amd64.deb
endif

# The worker pool's tests under ThreadSanitizer.
tsan: deps
	@cmake -S . -B $(TSAN_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTELLO_TSAN=ON -DVISTELLO_BENCH=OFF >/dev/null
	@cmake --build $(TSAN_BUILD) -j $(JOBS) --target vistello_tests
	@cd $(TSAN_BUILD) && TSAN_OPTIONS=halt_on_error=1 ctest --output-on-failure -j $(JOBS) -R "$(TSAN_TESTS)"

bench: build
	@QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/vistello_bench
	@QT_QPA_PLATFORM=offscreen ./$(BUILD)/bench/vistello_qt_bench
	@./$(BUILD)/bench/vistello_photo_bench
	@./$(BUILD)/bench/vistello_web_bench
	@./$(BUILD)/bench/vistello_clip_bench
	@./$(BUILD)/bench/vistello_albums_bench
	@./$(BUILD)/bench/vistello_private_bench
	@./$(BUILD)/bench/vistello_thumbnails_bench
	@BUILD=$(BUILD) ./bench/albums_memory.sh
	@/usr/bin/python3 ./bench/publish_bench.py $(BUILD)
	@/usr/bin/python3 ./bench/private_look_bench.py $(BUILD)/vistello templates

# Each target runs for FUZZ_SECONDS from the seeds in fuzz/corpus; what it finds stays in the
# build folder, never in the tree.
fuzz: deps
	@CC=clang CXX=clang++ cmake -S . -B $(FUZZ_BUILD) -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVISTELLO_FUZZ=ON >/dev/null
	@cmake --build $(FUZZ_BUILD) -j $(JOBS)
	@for target in $(FUZZ_TARGETS); do \
	  mkdir -p $(FUZZ_BUILD)/corpus/$$target && \
	  $(FUZZ_BUILD)/fuzz/$${target}_fuzz -max_total_time=$(FUZZ_SECONDS) -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus/$$target fuzz/corpus/$$target 2>&1 | grep -E "stat::number_of_executed_units|ERROR|invariant|SUMMARY" \
	    | sed "s/^/$$target: /"; \
	  test $${PIPESTATUS[0]} -eq 0 || exit 1; \
	done

# $(BUILD)/vistello_<version>_amd64.deb, for /usr. Its files carry the time of the last commit, so
# that two builds of one commit make the same package.
package: PREFIX = /usr
package: build
	@SOURCE_DATE_EPOCH=$$(git log -1 --format=%ct 2>/dev/null || echo 0) \
	  cmake --build $(BUILD) --target package

install: build
	@DESTDIR="$(DESTDIR)" cmake --install $(BUILD) --prefix "$(PREFIX)"

# Removes the files the last install wrote, as listed in its manifest, and nothing else.
uninstall:
	@test -f "$(MANIFEST)" || { echo "Nothing to uninstall: $(MANIFEST) is missing." >&2; exit 1; }
	@xargs -r -d '\n' rm -f -- < "$(MANIFEST)"

format:
	@clang-format -i $$(git ls-files '*.cpp' '*.h')

clean:
	@rm -rf $(BUILD) $(ASAN_BUILD) $(TSAN_BUILD) $(FUZZ_BUILD)
