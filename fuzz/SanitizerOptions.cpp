// Address-sanitizer defaults for the fuzz programs, tuned for throughput:
// every input builds a whole synthesizer, thousands of small blocks, so
// recording an allocation stack for each and holding a quarter gigabyte of
// freed memory back cost more than the input itself. A finding replays
// with full stacks under ASAN_OPTIONS=malloc_context_size=30.
extern "C" const char* __asan_default_options() {
  return "malloc_context_size=2:quarantine_size_mb=16";
}
