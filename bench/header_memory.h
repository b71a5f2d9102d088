#pragma once

// Prints the heap bytes that one header report of exampleSurface takes at
// its peak against the length of its text, where the build can count them.
// Returns false when it should have counted but saw no allocation.
bool printHeaderMemory();
