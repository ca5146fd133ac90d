#pragma once
// How the heap takes and gives back memory.
//
// Set once at start-up, before anything is allocated in earnest, at fixed
// sizes rather than the ones the allocator would raise after each large
// block it frees. A PDF page passes through buffers of 16 MB (most of them
// never touched) as the writer compresses it: they stay in the heap and are
// used again page after page, rather than mapped and unmapped for every page
// (each mapping faults its pages in afresh). Blocks larger than that (a big
// picture) are mapped on their own and returned whole when freed. The heap
// keeps what is freed at its top up to twice that size, so one page's
// buffers do not go back to the system only to be taken again for the next.
void Set_Heap_Policy();

// Gives back to the system what the heap holds unused, after work that
// passes through much memory once (an import of a long list, a long job):
// what it left behind would otherwise stay with the process.
void Give_Back_Free_Heap();
