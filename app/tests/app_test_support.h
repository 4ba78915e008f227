#pragma once

#include <string>

#include "document/filter_file.h"
#include "platform/testing/temp_folder.h"

namespace zul {

// A temporary folder with files of given bytes in it.
class TestFolder : public TempFolder {
 public:
  std::string PutFilter(const std::string& name, const FilterSettings& filter) const {
    std::string bytes;
    WriteTo(filter, bytes);
    return Put(name, bytes);
  }
};

}  // namespace zul
