#include "engine/filter_settings.h"

namespace zul {

void FilterSettings::CopyFrom(const FilterSettings& source) {
  mask = source.mask;
  start = source.start;
  step = source.step;
  searchText = source.searchText;
  replaceText = source.replaceText;
  nameCase = source.nameCase;
  extCase = source.extCase;
  fillText = source.fillText;
  digits = source.digits;
}

}  // namespace zul
