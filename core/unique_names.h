#pragma once

namespace zul {

class FileRows;
class FileSystem;

// Fills the slots that "[eindeutig]" left in the rows' new names (kUniqueSlot), in display order:
// with nothing where the name is free, else with "-2", "-3", ..., the smallest number that makes
// it free. A name is free when no earlier row of the same folder gets it and no file of that name
// is on the disk, a file that an earlier row renames away and the row's own file excepted (a file
// renamed only by a later row still stands in the way when this row's turn comes). Where the
// folder ignores letter case, so does the comparison. Rows without a slot are left as they are.
// Returns whether any row had a slot.
bool MakeNamesUnique(FileRows& rows, FileSystem& files);

}  // namespace zul
