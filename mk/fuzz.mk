# The fuzz targets: libFuzzer through clang, with ASan, UBSan and assertions.
#   make fuzz-ci      the saved corpus, then FUZZ_SECONDS of fuzzing the game and
#                     a tenth of that on the wave parser; prints the figures
#   make fuzz         fuzz the game until stopped (Ctrl-C), keeping new inputs
# New inputs go to $(FUZZ_BUILD)/corpus-*; a failing input is saved in
# $(FUZZ_BUILD) as crash-*, timeout-* or oom-*, and can be replayed with
#   $(FUZZ_BUILD)/game_replay <file>      (or wave_replay)
FUZZ_BUILD   ?= build-fuzz
FUZZ_SECONDS ?= 60
FUZZ_FLAGS    = -timeout=10 -rss_limit_mb=2048 -artifact_prefix=$(abspath $(FUZZ_BUILD))/

.PHONY: fuzz-build fuzz fuzz-ci

fuzz-build: deps
	@cmake -S fuzz -B $(FUZZ_BUILD) -DCMAKE_CXX_COMPILER=clang++ >/dev/null
	@cmake --build $(FUZZ_BUILD) -j$(JOBS)

fuzz: fuzz-build
	@mkdir -p $(FUZZ_BUILD)/corpus-game
	$(FUZZ_BUILD)/game_fuzzer $(FUZZ_FLAGS) $(FUZZ_BUILD)/corpus-game fuzz/corpus/game

# One target for FUZZ_SECONDS: $(1) game or wave.
define fuzz_run
	@mkdir -p $(FUZZ_BUILD)/corpus-$(1)
	@$(FUZZ_BUILD)/$(1)_replay fuzz/corpus/$(1)/* 2>/dev/null
	@status=0; \
	$(FUZZ_BUILD)/$(1)_fuzzer $(FUZZ_FLAGS) -max_total_time=$(2) -print_final_stats=1 \
	    $(FUZZ_BUILD)/corpus-$(1) fuzz/corpus/$(1) > $(FUZZ_BUILD)/fuzz-$(1).log 2>&1 || status=$$?; \
	runs=$$(sed -n 's/^stat::number_of_executed_units: *//p' $(FUZZ_BUILD)/fuzz-$(1).log); \
	rate=$$(sed -n 's/^stat::average_exec_per_sec: *//p' $(FUZZ_BUILD)/fuzz-$(1).log); \
	cov=$$(grep -o 'cov: [0-9]*' $(FUZZ_BUILD)/fuzz-$(1).log | tail -1); \
	if [ $$status -ne 0 ]; then \
	    tail -n 40 $(FUZZ_BUILD)/fuzz-$(1).log; \
	    echo "fuzz $(1): FAILED after $${runs:-?} executions; the input is in $(FUZZ_BUILD)/ (crash-*, timeout-*, oom-*)"; \
	    exit 1; \
	fi; \
	echo "fuzz $(1): $$runs executions in $(2) s, $$rate per second, $$cov edges, no invariant broken"
endef

fuzz-ci: fuzz-build
	$(call fuzz_run,game,$(FUZZ_SECONDS))
	$(call fuzz_run,wave,$(shell echo $$(( $(FUZZ_SECONDS) / 10 + 1 ))))

CI_TARGETS += fuzz-ci
