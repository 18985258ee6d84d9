// FileNumbers of the open MemoryFiles.
//
// A FileNumber is an int32 and a 64-bit pointer does not fit in one, so the numbers are
// handed out from a counter (1, 2, 3, ...; a number is not given again while its file is
// open) and this table maps each to its file. The ObjectRegistry holds the file objects
// themselves with kind 2 and has the last word: a number whose object it no longer knows
// is not open, whatever this table says.
#pragma once

#include <cstdint>
#include <memory>

#include "memory_file.h"

namespace runtime::core {

// Registers the new file and gives its number.
std::int32_t OpenFileNumber(std::unique_ptr<MemoryFile> file);
// The open file of a number, or null.
MemoryFile* FindOpenFile(std::int32_t number);
// Unregisters and destroys the file of a number; false when it was not open.
bool CloseFileNumber(std::int32_t number);
// How many files are open (for tests of their lifetime).
std::size_t OpenFileCount();

}  // namespace runtime::core
