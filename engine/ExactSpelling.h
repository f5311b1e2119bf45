#pragma once
// The one rule for a name looked up in a folder without regard to case, wherever the scan or the
// run looks one up: of the folder's names that match, the one spelt exactly the same wins, else
// the first in listing order. A file is then always paired with its own spelling where the folder
// holds it, and with the same case variant at every analysis and run where it does not.
#include <functional>
#include <string_view>

namespace tandrel {

// [first, last): the names that match wanted without regard to case, in listing order; nameOf
// gives the name of each. The chosen one, or last when there is none.
template <class Iterator, class NameOf = std::identity>
Iterator PreferExactSpelling(Iterator first, Iterator last, std::string_view wanted,
                             NameOf nameOf = {}) {
  for (Iterator it = first; it != last; ++it) {
    if (std::string_view(nameOf(*it)) == wanted) return it;
  }
  return first;
}

}  // namespace tandrel
