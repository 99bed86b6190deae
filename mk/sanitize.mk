# The whole project and its suite under AddressSanitizer, LeakSanitizer and
# UndefinedBehaviorSanitizer, in $(ASAN_BUILD), assertions on.
#   make test-sanitize   builds and runs the suite; any report fails the test
#   make sanitize-ci     the same, then counts the reports in the log (must be 0)
#   make test-faults     only the fault-injection tests on the real program
ASAN_BUILD ?= build-asan
SANITIZE_ENV = \
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1:check_initialization_order=1 \
  UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
  LSAN_OPTIONS=suppressions=$(abspath tests/lsan.supp):print_suppressions=0 \
  QT_QPA_PLATFORM=offscreen

.PHONY: asan-build test-sanitize test-faults sanitize-ci

asan-build: deps
	@cmake -S . -B $(ASAN_BUILD) -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-g -O1" \
	    -DTUMBLARA_SANITIZE=ON >/dev/null
	@cmake --build $(ASAN_BUILD) -j$(JOBS)

test-sanitize: asan-build
	cd $(ASAN_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j2 --timeout 600

test-faults: asan-build
	cd $(ASAN_BUILD) && $(SANITIZE_ENV) ctest --output-on-failure -j2 --timeout 600 -L faults

sanitize-ci: asan-build
	@status=0; \
	(cd $(ASAN_BUILD) && $(SANITIZE_ENV) ctest -V -j2 --timeout 600) > $(ASAN_BUILD)/sanitize.log 2>&1 || status=$$?; \
	reports=$$(grep -cE 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:' $(ASAN_BUILD)/sanitize.log); \
	summary=$$(grep -E 'tests passed|tests failed' $(ASAN_BUILD)/sanitize.log | tail -1); \
	if [ $$status -ne 0 ] || [ "$$reports" -ne 0 ]; then \
	    grep -E -A30 'ERROR: (AddressSanitizer|LeakSanitizer)|runtime error:|\*\*\*Failed|Timeout' $(ASAN_BUILD)/sanitize.log | head -n 150; \
	    echo "sanitizers: $$summary; $$reports reports"; \
	    exit 1; \
	fi; \
	echo "sanitizers: $$summary; 0 reports"

CI_TARGETS += sanitize-ci
