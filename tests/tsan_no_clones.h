// Forced into the ThreadSanitizer build (CMakeLists.txt): one plain version of each
// function that would otherwise have per-processor clones.
#define target_clones(...) unused
