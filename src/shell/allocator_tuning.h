#pragma once

namespace shell {

// Sets up the memory allocator for the program's work; called first thing in main().
// A generation run builds and frees sheets of tens of megabytes, and with 2 MB pages
// (where the system gives them) that memory costs far fewer page faults.
void tuneAllocator();

}  // namespace shell
